// Shared set-up for dialog tests: the module's resources attached under a
// handle, a script of dialog actions, and the transcript captured.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "adslib.h"
#include "afxwin.h"
#include "support/scripted_console.h"

extern const RcModuleResources testVrmlResources;

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(AfxAttachModule(reinterpret_cast<HINSTANCE>(0xD1A1), &testVrmlResources)); }
  void TearDown() override {
    m_console.end();
    AfxDetachModule(reinterpret_cast<HINSTANCE>(0xD1A1));
  }
  void script(const std::string& lines) { m_console.script(lines); }
  std::string transcript() { return m_console.transcript(); }

 private:
  ScriptedConsole m_console;
};
