// The screens the window framework's dialogs appear on. Two presentations
// answer: the terminal one when a person sits at the command line, the
// scripted one otherwise (the command line's interactive() decides).
#pragma once
#include <string>

#include "win/presentation.h"
#include "windef.h"

namespace ui {

// Shows a modal dialog and handles input until the dialog has ended.
void runModal(HWND dialog);
// A modeless dialog became visible, or is about to go away.
void modelessShown(HWND dialog);
void closing(HWND dialog);
// Something shown in this window changed.
void changed(HWND window);
// Shows a message box; returns the id of the button that closed it.
int messageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);
// Lets the visible modeless dialogs take their pending input (keys at a
// terminal, scheduled actions in a script). The platform calls it while a
// long operation runs, once per entity the facetter handles.
void pumpMessages();

// The calls above as the window framework asks for them.
win::Presentation& chosenPresentation();

}  // namespace ui
