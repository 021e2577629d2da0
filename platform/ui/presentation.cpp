// Chooses the presentation: the terminal when a person answers, else the script.
#include "ui/presentation.h"

#include "acad/console.h"
#include "ui/scripted.h"
#include "ui/terminal.h"

namespace acad_ui {

void runModal(HWND dialog) {
  if (acad_console::interactive()) terminal::runModal(dialog);
  else scripted::runModal(dialog);
}

void modelessShown(HWND dialog) {
  if (acad_console::interactive()) terminal::modelessShown(dialog);
  else scripted::modelessShown(dialog);
}

void closing(HWND dialog) {
  if (acad_console::interactive()) terminal::closing(dialog);
  else scripted::closing(dialog);
}

void changed(HWND window) {
  if (acad_console::interactive()) terminal::changed(window);
}

int messageBox(HWND, const std::string& text, const std::string& caption, UINT type) {
  return acad_console::interactive() ? terminal::messageBox(text, caption, type)
                                     : scripted::messageBox(text, caption, type);
}

void pumpMessages() {
  if (acad_console::interactive()) terminal::pumpMessages();
  else scripted::pumpMessages();
}

}  // namespace acad_ui
