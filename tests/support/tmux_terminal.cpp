#include "support/tmux_terminal.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/process.h"

namespace test_support {

namespace {
std::atomic<int> g_sessions{0};
}

TmuxTerminal::TmuxTerminal(const std::string& program, int columns, int rows)
    : m_name("hostterm" + std::to_string(getpid()) + "_" + std::to_string(g_sessions++)) {
  runCommand("tmux new-session -d -s " + m_name + " -x " + std::to_string(columns) + " -y " + std::to_string(rows) +
             " \"" + program + "; echo EXIT=\\$?; sleep 60\"");
}

TmuxTerminal::~TmuxTerminal() { runCommand("tmux kill-session -t " + m_name + " 2>/dev/null"); }

void TmuxTerminal::type(const std::string& keys) const { runCommand("tmux send-keys -t " + m_name + " " + keys); }

std::string TmuxTerminal::screen() const { return runCommand("tmux capture-pane -p -t " + m_name).output; }

bool TmuxTerminal::shows(const std::string& text) const {
  for (int i = 0; i < 100; ++i) {
    if (screen().find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

std::string TmuxTerminal::pane(const std::string& format) const {
  std::string value = runCommand("tmux display-message -p -t " + m_name + " '" + format + "'").output;
  while (!value.empty() && value.back() == '\n') value.pop_back();
  return value;
}

std::string TmuxTerminal::programPid() const {
  std::string pid = runCommand("pgrep -P " + pane("#{pane_pid}") + " | head -1").output;
  while (!pid.empty() && pid.back() == '\n') pid.pop_back();
  return pid;
}

}  // namespace test_support
