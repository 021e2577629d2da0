#include "ui/viewport.h"

#include <algorithm>
#include <string>

namespace ui {
namespace {

// The cell of the focused control (the first highlighted one), or 0, 0.
void focusCell(const Canvas& dialog, int& row, int& column) {
  for (row = 0; row < dialog.height; ++row) {
    column = static_cast<int>(dialog.highlight[row].find('r'));
    if (column >= 0) return;
  }
  row = column = 0;
}

// The first of `shown` cells out of `size`: from the start when `focus` and
// `room` cells after it are in sight from there, else as little further on as
// brings them in.
int firstCell(int focus, int room, int shown, int size) {
  return std::clamp(focus + room - shown, 0, std::max(size - shown, 0));
}

}  // namespace

Placement fitToTerminal(const Canvas& dialog, int rows, int columns) {
  Placement placement;
  // With room to spare the dialog keeps its margin from the corner.
  if (dialog.height + 1 <= rows && dialog.width + 2 <= columns) {
    placement.shown = dialog;
    placement.top = 2;
    placement.left = 3;
    return placement;
  }
  if (dialog.height <= rows && dialog.width <= columns) {
    placement.shown = dialog;
    return placement;
  }
  int shownRows = std::clamp(rows - 1, 0, dialog.height), shownColumns = std::clamp(columns, 0, dialog.width);
  int focusRow = 0, focusColumn = 0;
  focusCell(dialog, focusRow, focusColumn);
  // Room for a button after the focus mark, and for the line under it.
  int firstRow = firstCell(focusRow, 2, shownRows, dialog.height);
  int firstColumn = firstCell(focusColumn, 16, shownColumns, dialog.width);
  Canvas& shown = placement.shown;
  shown.resize(std::max(columns, 0), shownRows + 1);
  for (int r = 0; r < shownRows; ++r) {
    shown.text[r].replace(0, shownColumns, dialog.text[firstRow + r], firstColumn, shownColumns);
    shown.highlight[r].replace(0, shownColumns, dialog.highlight[firstRow + r], firstColumn, shownColumns);
  }
  std::string note = "Enlarge the terminal to " + std::to_string(dialog.width) + "x" +
                     std::to_string(dialog.height + 1) + " to see the whole dialog; Tab scrolls.";
  shown.put(0, shownRows, note, 'r');
  if (dialog.cursorRow >= firstRow && dialog.cursorRow < firstRow + shownRows) {
    shown.cursorRow = dialog.cursorRow - firstRow;
    shown.cursorCol = dialog.cursorCol - firstColumn;
    shown.fieldCol = dialog.fieldCol - firstColumn;
    shown.fieldWidth = dialog.fieldWidth;
  }
  return placement;
}

}  // namespace ui
