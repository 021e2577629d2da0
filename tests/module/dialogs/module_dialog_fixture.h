// The module's own resources attached as at start-up, dialog actions from a
// script, and the transcript captured.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ArxUtil.h"
#include "acad/console.h"
#include "acadmem.h"
#include "adslib.h"
#include "afxwin.h"

extern const RcModuleResources vrmlResources;

class ModuleDialogTest : public ::testing::Test {
 protected:
  // The platform keeps a few blocks for good once first used (the host's
  // main window, its window lists); use them once before anything is counted.
  static void SetUpTestSuite() {
    acad_console::beginCapture();
    CWnd::FromHandle(adsw_acadMainWnd());
    MessageBoxA(nullptr, "", "", MB_OK);
    setModuleHandle(reinterpret_cast<HINSTANCE>(0xD1A2));
    AfxAttachModule(moduleHandle(), &vrmlResources);
    CDialog warmUp;
    warmUp.Create(139);
    warmUp.DestroyWindow();
    AfxDetachModule(moduleHandle());
    acad_console::endCapture();
  }

  void SetUp() override {
    setModuleHandle(reinterpret_cast<HINSTANCE>(0xD1A2));
    ASSERT_TRUE(AfxAttachModule(moduleHandle(), &vrmlResources));
    acad_console::setInteractive(false);
    m_liveBlocks = acad_heap::stats().liveBlocks;
    acad_console::beginCapture();
  }
  void TearDown() override {
    acad_console::endCapture();
    acad_console::useScript(nullptr);
    if (m_script) std::fclose(m_script);
    std::string().swap(m_text);
    EXPECT_EQ(acad_heap::stats().liveBlocks, m_liveBlocks) << "blocks left by the dialog";
    AfxDetachModule(moduleHandle());
  }
  void script(const std::string& lines) {
    if (m_script) std::fclose(m_script);
    m_text = lines;
    m_script = fmemopen(m_text.data(), m_text.size(), "r");
    acad_console::useScript(m_script);
  }
  std::string transcript() {
    std::string text = acad_console::endCapture();
    acad_console::beginCapture();
    return text;
  }

 private:
  std::string m_text;
  std::FILE* m_script = nullptr;
  size_t m_liveBlocks = 0;
};
