// Shared set-up for dialog tests: the module's resources attached under a
// handle, a script of dialog actions, and the transcript captured.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "acad/console.h"
#include "adslib.h"
#include "afxwin.h"

extern const RcModuleResources testVrmlResources;

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(AfxAttachModule(reinterpret_cast<HINSTANCE>(0xD1A1), &testVrmlResources));
    acad_console::setInteractive(false);
    acad_console::beginCapture();
  }
  void TearDown() override {
    acad_console::endCapture();
    acad_console::useScript(nullptr);
    if (m_script) std::fclose(m_script);
    AfxDetachModule(reinterpret_cast<HINSTANCE>(0xD1A1));
  }
  // The following dialog actions come from these lines.
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
};
