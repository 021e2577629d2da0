#include "ui/terminal_guard.h"

#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <initializer_list>

namespace ui::terminal {
namespace {

termios g_original{};
volatile sig_atomic_t g_guarded = 0;
volatile sig_atomic_t g_alternate = 0;

void say(const char* text, size_t size) {
  ssize_t ignored = write(STDOUT_FILENO, text, size);
  (void)ignored;
}

void restoreAndDie(int signal) {
  restoreTerminal();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

void guardTerminal() {
  if (g_guarded || !isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &g_original) != 0) return;
  g_guarded = 1;
  std::atexit(restoreTerminal);
  for (int signal : {SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGABRT, SIGBUS, SIGFPE}) std::signal(signal, restoreAndDie);
}

RawKeys::RawKeys() {
  guardTerminal();
  m_ok = tcgetattr(STDIN_FILENO, &m_saved) == 0;
  if (!m_ok) return;
  termios raw = m_saved;
  raw.c_lflag &= ~(ICANON | ECHO | ISIG);
  raw.c_iflag &= ~(ICRNL | IXON);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSANOW, &raw);
}

RawKeys::~RawKeys() {
  if (m_ok) tcsetattr(STDIN_FILENO, TCSANOW, &m_saved);
}

void noteAlternateScreen(bool shown) { g_alternate = shown ? 1 : 0; }

void restoreTerminal() {
  if (!g_guarded) return;
  static const char kLeaveScreen[] = "\x1b[0m\x1b[2J\x1b[?25h\x1b[?1049l";
  static const char kShowCursor[] = "\x1b[0m\x1b[?25h";
  if (g_alternate) say(kLeaveScreen, sizeof kLeaveScreen - 1);
  else say(kShowCursor, sizeof kShowCursor - 1);
  g_alternate = 0;
  tcsetattr(STDIN_FILENO, TCSANOW, &g_original);
}

}  // namespace ui::terminal
