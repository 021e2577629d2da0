// What the window framework asks of a screen. The screens (ui/) draw the
// framework's windows and so sit above it; the host connects the one that
// answers at load time.
#pragma once
#include <string>

#include "support/port.h"
#include "windef.h"

namespace win {

class Presentation {
 public:
  // Shows a modal dialog and handles input until the dialog has ended.
  virtual void runModal(HWND dialog) = 0;
  // A modeless dialog became visible, or is about to go away.
  virtual void modelessShown(HWND dialog) = 0;
  virtual void closing(HWND dialog) = 0;
  // Something shown in this window changed.
  virtual void changed(HWND window) = 0;
  // Shows a message box; returns the id of the button that closed it.
  virtual int messageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;

 protected:
  ~Presentation() = default;
};

extern support::Port<Presentation> presentation;

}  // namespace win
