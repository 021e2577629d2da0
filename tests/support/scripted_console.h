// Dialog actions from a script held in memory, and the transcript captured
// instead of printed; for the dialog tests of the platform and the module.
#pragma once
#include <cstdio>
#include <string>

#include "acad/console.h"

class ScriptedConsole {
 public:
  ScriptedConsole() {
    acad::console::setInteractive(false);
    acad::console::beginCapture();
  }
  ~ScriptedConsole() { end(); }
  ScriptedConsole(const ScriptedConsole&) = delete;
  ScriptedConsole& operator=(const ScriptedConsole&) = delete;

  // The following dialog actions come from these lines.
  void script(const std::string& lines) {
    closeScript();
    m_text = lines;
    m_script = fmemopen(m_text.data(), m_text.size(), "r");
    acad::console::useScript(m_script);
  }
  // What was written since the last call.
  std::string transcript() {
    std::string text = acad::console::endCapture();
    acad::console::beginCapture();
    return text;
  }
  // Stops capturing and lets go of the script and its memory.
  void end() {
    if (!m_capturing) return;
    m_capturing = false;
    acad::console::endCapture();
    closeScript();
    std::string().swap(m_text);
  }

 private:
  void closeScript() {
    acad::console::useScript(nullptr);
    if (m_script) std::fclose(m_script);
    m_script = nullptr;
  }

  std::string m_text;
  std::FILE* m_script = nullptr;
  bool m_capturing = true;
};
