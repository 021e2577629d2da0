// Chooses the presentation: the terminal when a person answers, else the script.
#include "ui/presentation.h"

#include "support/command_line.h"
#include "ui/scripted.h"
#include "ui/terminal.h"

namespace ui {
namespace {
bool interactive() { return support::commandLine->interactive(); }
}  // namespace

void runModal(HWND dialog) {
  if (interactive()) terminal::runModal(dialog);
  else scripted::runModal(dialog);
}

void modelessShown(HWND dialog) {
  if (interactive()) terminal::modelessShown(dialog);
  else scripted::modelessShown(dialog);
}

void closing(HWND dialog) {
  if (interactive()) terminal::closing(dialog);
  else scripted::closing(dialog);
}

void changed(HWND window) {
  if (interactive()) terminal::changed(window);
}

int messageBox(HWND, const std::string& text, const std::string& caption, UINT type) {
  return interactive() ? terminal::messageBox(text, caption, type) : scripted::messageBox(text, caption, type);
}

void pumpMessages() {
  if (interactive()) terminal::pumpMessages();
  else scripted::pumpMessages();
}

win::Presentation& chosenPresentation() {
  struct Chosen final : win::Presentation {
    void runModal(HWND dialog) override { ui::runModal(dialog); }
    void modelessShown(HWND dialog) override { ui::modelessShown(dialog); }
    void closing(HWND dialog) override { ui::closing(dialog); }
    void changed(HWND window) override { ui::changed(window); }
    int messageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) override {
      return ui::messageBox(owner, text, caption, type);
    }
  };
  static Chosen chosen;
  return chosen;
}

}  // namespace ui
