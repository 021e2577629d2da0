// Dialogs drawn into a grid of character cells: a dialog unit is a quarter
// of a cell across and an eighth of a cell down. Plain text plus, per cell,
// whether it is highlighted (focus) or underlined (access key).
#pragma once
#include <string>
#include <vector>

#include "win/window.h"

namespace ui {

struct Canvas {
  int width = 0, height = 0;
  std::vector<std::string> text;       // height rows of width characters
  std::vector<std::string> highlight;  // 'r' reverse, 'u' underline, ' ' plain
  // The focused edit box: where its text cursor stands (after the text) and
  // the cells of its field; row -1 when the focus is elsewhere.
  int cursorRow = -1, cursorCol = -1, fieldCol = -1, fieldWidth = 0;
  void resize(int w, int h);
  void put(int col, int row, const std::string& s, char mark = ' ');
  void mark(int col, int row, int count, char mark);
};

// Draws the dialog with its frame and caption; the focused control gets a
// '>' in the cell to its left and is highlighted.
Canvas drawDialog(HWND dialog);
// A message box: caption, text lines and buttons, the chosen one marked.
Canvas drawMessageBox(const std::string& text, const std::string& caption, const std::vector<int>& buttons, int chosen);

}  // namespace ui
