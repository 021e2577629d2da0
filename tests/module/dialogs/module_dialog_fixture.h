// The module's own resources attached as at start-up, dialog actions from a
// script, the transcript captured, and no block of the host allocator left.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "ArxUtil.h"
#include "acadmem.h"
#include "adslib.h"
#include "afxwin.h"
#include "heap_faults.h"
#include "support/scripted_console.h"

extern const RcModuleResources vrmlResources;

class ModuleDialogTest : public ::testing::Test {
 protected:
  // The platform keeps a few blocks for good once first used (the host's
  // main window, its window lists); use them once before anything is counted.
  static void SetUpTestSuite() {
    ScriptedConsole console;
    CWnd::FromHandle(adsw_acadMainWnd());
    MessageBoxA(nullptr, "", "", MB_OK);
    setModuleHandle(reinterpret_cast<HINSTANCE>(0xD1A2));
    AfxAttachModule(moduleHandle(), &vrmlResources);
    CDialog warmUp;
    warmUp.Create(139);
    warmUp.DestroyWindow();
    AfxDetachModule(moduleHandle());
  }

  void SetUp() override {
    setModuleHandle(reinterpret_cast<HINSTANCE>(0xD1A2));
    ASSERT_TRUE(AfxAttachModule(moduleHandle(), &vrmlResources));
    m_liveBlocks = acad::heap::stats().liveBlocks;
  }
  void TearDown() override {
    m_console.end();
    EXPECT_EQ(acad::heap::stats().liveBlocks, m_liveBlocks) << "blocks left by the dialog";
    AfxDetachModule(moduleHandle());
  }
  void script(const std::string& lines) { m_console.script(lines); }
  std::string transcript() { return m_console.transcript(); }

 private:
  ScriptedConsole m_console;
  size_t m_liveBlocks = 0;
};
