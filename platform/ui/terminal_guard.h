// Puts the terminal back as it was found, whatever ends the program: a
// normal exit, a fatal signal or a hang-up, also while a dialog is drawn on
// the alternate screen with the cursor hidden.
#pragma once

namespace acad_ui::terminal {

// Remembers the terminal's settings (once, before the first change) and
// installs the handlers that restore them. Does nothing when standard input
// is not a terminal.
void guardTerminal();

// The alternate screen is entered or left; the restore leaves it too.
void noteAlternateScreen(bool shown);

// Restores the settings, shows the cursor and leaves the alternate screen.
// Safe inside a signal handler.
void restoreTerminal();

}  // namespace acad_ui::terminal
