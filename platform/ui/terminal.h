// The terminal presentation: dialogs drawn in the terminal and driven by
// Tab and Shift+Tab, the arrow keys, Space, Enter, Esc and access keys
// (Alt+letter, or the letter alone outside an edit box).
#pragma once
#include <string>

#include "windef.h"

namespace ui::terminal {

void runModal(HWND dialog);
void modelessShown(HWND dialog);
void closing(HWND dialog);
void changed(HWND window);
int messageBox(const std::string& text, const std::string& caption, UINT type);
void pumpMessages();

// Keys as the terminal sends them, decoded.
enum class Key {
  None,
  Char,
  Tab,
  BackTab,
  Up,
  Down,
  Left,
  Right,
  Enter,
  Escape,
  Backspace,
  AltChar,
  PageUp,
  PageDown,
  Home,
  End
};
struct KeyPress {
  Key key = Key::None;
  char ch = 0;
};
// What a key does to a dialog: moves the focus, changes a control or ends it.
void handleKey(HWND dialog, const KeyPress& press);

}  // namespace ui::terminal
