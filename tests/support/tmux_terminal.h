// A program run in a real terminal (a detached tmux session) and driven by
// keys, for the tests of what a person sees.
#pragma once
#include <string>

namespace test_support {

class TmuxTerminal {
 public:
  // Runs the shell command line `program` in a terminal of `columns` x `rows`;
  // the terminal stays a minute after it ends, showing "EXIT=" and its status.
  TmuxTerminal(const std::string& program, int columns = 100, int rows = 40);
  ~TmuxTerminal();
  TmuxTerminal(const TmuxTerminal&) = delete;
  TmuxTerminal& operator=(const TmuxTerminal&) = delete;

  // Sends keys in tmux's notation ("Enter", "Escape", "C-c", "F1", text).
  void type(const std::string& keys) const;
  // Waits up to ten seconds for `text` on the screen.
  bool shows(const std::string& text) const;
  // What the screen shows now.
  std::string screen() const;
  // A tmux format of the pane, e.g. "#{cursor_flag}" or "#{alternate_on}".
  std::string pane(const std::string& format) const;
  // The process id of the program (the shell's child), or "".
  std::string programPid() const;

 private:
  std::string m_name;
};

}  // namespace test_support
