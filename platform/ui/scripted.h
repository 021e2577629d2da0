// The scripted presentation: dialogs take their actions from the script's
// lines and echo what they show, so transcripts can be compared.
//
// Actions, one a line, until the dialog closes:
//   click ID|caption   type ID text   check ID on|off   slide ID n   ok   cancel
// A modeless dialog takes, when it opens, the lines that follow of the form
//   at N action
// and runs each action at the N-th message pump after it opened (the
// platform pumps once per entity it facets), e.g. `at 3 cancel`.
// A script that runs out of lines ends a modal dialog as Cancel; a message
// box is echoed and answered with its default button.
#pragma once
#include <string>

#include "windef.h"

namespace ui::scripted {

void runModal(HWND dialog);
void modelessShown(HWND dialog);
void closing(HWND dialog);
int messageBox(const std::string& text, const std::string& caption, UINT type);
void pumpMessages();
// Runs one action line on a dialog; false (with the reason) when refused.
bool perform(HWND dialog, const std::string& line, std::string& refusal);
// How many script lines the dialogs refused since start-up.
int refusedCount();

}  // namespace ui::scripted
