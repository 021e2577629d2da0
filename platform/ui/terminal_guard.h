// Puts the terminal back as it was found, whatever ends the program: a
// normal exit, a fatal signal or a hang-up, also while a dialog is drawn on
// the alternate screen with the cursor hidden. And the raw key mode that
// dialogs and the command line read in.
#pragma once
#include <termios.h>

namespace ui::terminal {

// Remembers the terminal's settings (once, before the first change) and
// installs the handlers that restore them. Does nothing when standard input
// is not a terminal.
void guardTerminal();

// The alternate screen is entered or left; the restore leaves it too.
void noteAlternateScreen(bool shown);

// Restores the settings, shows the cursor and leaves the alternate screen.
// Safe inside a signal handler.
void restoreTerminal();

// Keys one by one, unechoed, for as long as it lives (a dialog, a command
// line being typed). Ctrl+C arrives as a key, which cancels, instead of
// ending the host.
class RawKeys {
 public:
  RawKeys();
  ~RawKeys();
  RawKeys(const RawKeys&) = delete;
  RawKeys& operator=(const RawKeys&) = delete;

 private:
  termios m_saved{};
  bool m_ok = false;
};

}  // namespace ui::terminal
