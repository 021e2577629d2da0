// A dialog as text: one line per control, for transcripts and comparisons.
#pragma once
#include <string>
#include <vector>

#include "win/window.h"

namespace ui {

// `Dialog 140 "Meshcast options"`
std::string dialogTitleLine(HWND dialog);
// `  1045 radio "&Milimeter" [x]`, with default, disabled, hidden and focus marks.
std::string controlLine(HWND control);
std::vector<std::string> snapshot(HWND dialog);
// The words for a dialog result: OK, Cancel or the number.
std::string resultName(int result);
// The message box's title line and its buttons, e.g. `[OK]` or `[Yes] [No]`.
std::string messageBoxLine(const std::string& text, const std::string& caption, UINT type);
// The button ids of a message box type, in display order, and the default.
std::vector<int> messageBoxButtons(UINT type);
int defaultButton(UINT type);
std::string buttonName(int id);

}  // namespace ui
