// Where a drawn dialog goes on a terminal of a given size. A dialog that
// does not fit is cut to a window that keeps the focused control in sight
// (Tab then scrolls through it) and a last line says so, instead of
// wrapping its frame and hiding its buttons.
#pragma once
#include "ui/canvas.h"

namespace ui {

struct Placement {
  Canvas shown;  // what to paint
  int top = 1;   // its first row and column on the terminal, from 1
  int left = 1;
};

Placement fitToTerminal(const Canvas& dialog, int rows, int columns);

}  // namespace ui
