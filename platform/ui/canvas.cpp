// Drawing dialogs into character cells.
#include "ui/canvas.h"

#include <algorithm>

#include "afxwin.h"
#include "ui/snapshot.h"

namespace ui {

void Canvas::resize(int w, int h) {
  width = w;
  height = h;
  text.assign(h, std::string(w, ' '));
  highlight.assign(h, std::string(w, ' '));
}

void Canvas::put(int col, int row, const std::string& s, char m) {
  if (row < 0 || row >= height) return;
  for (size_t i = 0; i < s.size(); ++i) {
    int c = col + static_cast<int>(i);
    if (c < 0 || c >= width) continue;
    text[row][c] = s[i];
    if (m != ' ') highlight[row][c] = m;
  }
}

void Canvas::mark(int col, int row, int count, char m) {
  if (row < 0 || row >= height) return;
  for (int c = std::max(col, 0); c < std::min(col + count, width); ++c) highlight[row][c] = m;
}

namespace {

// Writes a caption, underlining its access key.
void putCaption(Canvas& canvas, int col, int row, const std::string& caption, int room) {
  std::string plain = win::plainCaption(caption);
  if (room >= 0 && static_cast<int>(plain.size()) > room) plain.resize(std::max(room, 0));
  canvas.put(col, row, plain);
  size_t amp = caption.find('&');
  while (amp != std::string::npos && amp + 1 < caption.size() && caption[amp + 1] == '&')
    amp = caption.find('&', amp + 2);
  if (amp != std::string::npos && amp + 1 < caption.size()) {
    int keyCol = col + static_cast<int>(win::plainCaption(caption.substr(0, amp)).size());
    if (keyCol < col + static_cast<int>(plain.size())) canvas.mark(keyCol, row, 1, 'u');
  }
}

// Wraps text at blanks into lines of at most `width` characters.
std::vector<std::string> wrap(const std::string& text, int width) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    std::string para = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    do {
      if (static_cast<int>(para.size()) <= width || width <= 0) {
        lines.push_back(para);
        break;
      }
      size_t cut = para.rfind(' ', width);
      if (cut == std::string::npos || cut == 0) cut = width;
      lines.push_back(para.substr(0, cut));
      para = para.substr(cut + (para[cut] == ' ' ? 1 : 0));
    } while (true);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

std::string centred(const std::string& s, int width) {
  int pad = std::max(0, width - static_cast<int>(s.size()));
  return std::string(pad / 2, ' ') + s + std::string(pad - pad / 2, ' ');
}

// Dialog units to cells, to the nearest cell.
int cells(int units, int perCell) { return (units + perCell / 2) / perCell; }

// The control a one-line label stands for: an edit box or slider to its
// right whose height takes in the label's. Windows centres such labels on
// their control, which puts them half a cell lower.
HWND labelled(HWND label) {
  if (label->kind != ControlKind::Static || label->cy > 8 || !label->parent) return nullptr;
  for (HWND c : win::controls(label->parent))
    if ((c->kind == ControlKind::Edit || c->kind == ControlKind::Trackbar) && c->x > label->x && c->y <= label->y &&
        label->y + label->cy <= c->y + c->cy)
      return c;
  return nullptr;
}

// Where a control is drawn, in cells.
struct Cells {
  int col, row, w, h;
};

void drawPushButton(Canvas& canvas, HWND c, const Cells& at) {
  std::string plain = win::plainCaption(c->text);
  bool isDefault = (c->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  std::string face = centred(plain, std::max(0, at.w - 2));
  canvas.put(at.col, at.row, std::string(1, isDefault ? '<' : '[') + face + (isDefault ? '>' : ']'));
  int pad = std::max(0, (at.w - 2 - static_cast<int>(plain.size())) / 2);
  putCaption(canvas, at.col + 1 + pad, at.row, c->text, at.w - 2);
}

void drawCheckOrRadio(Canvas& canvas, HWND c, const Cells& at) {
  bool radio = c->kind == ControlKind::RadioButton;
  char tick = c->check == BST_CHECKED ? (radio ? '*' : 'x') : c->check == BST_INDETERMINATE ? '-' : ' ';
  canvas.put(at.col, at.row, std::string(1, radio ? '(' : '[') + tick + (radio ? ')' : ']') + ' ');
  // Captions may run past the box, as proportional text does.
  putCaption(canvas, at.col + 4, at.row, c->text, -1);
}

void drawGroupBox(Canvas& canvas, HWND c, const Cells& at) {
  int bottom = at.row + std::max(1, at.h) - 1;
  canvas.put(at.col, at.row, "+" + std::string(std::max(0, at.w - 2), '-') + "+");
  canvas.put(at.col, bottom, "+" + std::string(std::max(0, at.w - 2), '-') + "+");
  for (int r = at.row + 1; r < bottom; ++r) {
    canvas.put(at.col, r, "|");
    canvas.put(at.col + at.w - 1, r, "|");
  }
  putCaption(canvas, at.col + 2, at.row, c->text, at.w - 4);
}

void drawStatic(Canvas& canvas, HWND c, const Cells& at) {
  // A one-line label keeps its last characters, as proportional text would.
  if (at.h == 1 && c->text.find('\n') == std::string::npos) {
    putCaption(canvas, at.col, at.row, c->text, -1);
    return;
  }
  std::vector<std::string> lines = wrap(c->text, at.w);
  for (int i = 0; i < static_cast<int>(lines.size()) && i < std::max(at.h, 1); ++i)
    putCaption(canvas, at.col, at.row + i, lines[i], at.w);
}

void drawEdit(Canvas& canvas, HWND c, const Cells& at) {
  std::string shown = c->text;
  int room = std::max(1, at.w - 2);
  if (static_cast<int>(shown.size()) > room) shown = shown.substr(shown.size() - room);
  canvas.put(at.col, at.row, "[" + shown + std::string(room - shown.size(), '_') + "]");
  if (c->parent && c->parent->focus == c) {
    canvas.cursorRow = at.row;
    canvas.cursorCol = at.col + 1 + static_cast<int>(std::min<size_t>(shown.size(), room - 1));
    canvas.fieldCol = at.col + 1;
    canvas.fieldWidth = room;
  }
}

void drawTrackbar(Canvas& canvas, HWND c, const Cells& at) {
  std::string number = " " + std::to_string(c->pos);
  int track = std::max(3, at.w - static_cast<int>(number.size()));
  std::string bar(track, '-');
  int span = std::max(1, c->rangeMax - c->rangeMin);
  int position = static_cast<int>((static_cast<long>(c->pos - c->rangeMin) * (track - 1)) / span);
  bar[std::clamp(position, 0, track - 1)] = 'O';
  canvas.put(at.col, at.row, bar + number);
}

void drawProgress(Canvas& canvas, HWND c, const Cells& at) {
  int inner = std::max(1, at.w - 2);
  int span = c->rangeMax - c->rangeMin;
  int filled = span > 0 ? static_cast<int>(static_cast<long>(c->pos - c->rangeMin) * inner / span) : 0;
  std::string bar = std::string(std::clamp(filled, 0, inner), '#') +
                    std::string(inner - std::clamp(filled, 0, inner), '.');
  std::string count = " " + std::to_string(c->pos) + " of " + std::to_string(c->rangeMax) + " ";
  if (static_cast<int>(count.size()) < inner) bar.replace((inner - count.size()) / 2, count.size(), count);
  canvas.put(at.col, at.row, "[" + bar + "]");
}

void drawByKind(Canvas& canvas, HWND c, const Cells& at) {
  switch (c->kind) {
    case ControlKind::PushButton: return drawPushButton(canvas, c, at);
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: return drawCheckOrRadio(canvas, c, at);
    case ControlKind::GroupBox: return drawGroupBox(canvas, c, at);
    case ControlKind::Static: return drawStatic(canvas, c, at);
    case ControlKind::Icon:
      // Drawn only where the whole word fits; a cut one reads as a stray fragment.
      if (at.w >= 6) canvas.put(at.col, at.row, "[icon]");
      return;
    case ControlKind::Edit: return drawEdit(canvas, c, at);
    case ControlKind::Trackbar: return drawTrackbar(canvas, c, at);
    case ControlKind::Progress: return drawProgress(canvas, c, at);
    default: canvas.put(at.col, at.row, win::plainCaption(c->text).substr(0, at.w));
  }
}

void drawControl(Canvas& canvas, HWND c, int originCol, int originRow) {
  HWND rowOf = labelled(c);
  Cells at{originCol + cells(c->x, 4), originRow + cells((rowOf ? rowOf : c)->y, 8),
           std::max(1, cells(c->x + c->cx, 4) - cells(c->x, 4)), std::max(1, cells(c->y + c->cy, 8) - cells(c->y, 8))};
  drawByKind(canvas, c, at);
  if (!c->enabled) canvas.mark(at.col, at.row, at.w, 'd');
  if (c->parent && c->parent->focus == c) {
    canvas.put(at.col - 1, at.row, ">");
    bool box = c->kind == ControlKind::CheckBox || c->kind == ControlKind::RadioButton;
    canvas.mark(at.col, at.row, box ? 3 : at.w, 'r');
  }
}

void drawFrame(Canvas& canvas, const std::string& caption) {
  int w = canvas.width, h = canvas.height;
  canvas.put(0, 0, "+" + std::string(w - 2, '=') + "+");
  canvas.put(0, h - 1, "+" + std::string(w - 2, '-') + "+");
  for (int r = 1; r < h - 1; ++r) {
    canvas.put(0, r, "|");
    canvas.put(w - 1, r, "|");
  }
  std::string title = " " + caption + " ";
  if (static_cast<int>(title.size()) > w - 4) title.resize(std::max(0, w - 4));
  canvas.put(2, 0, title);
  canvas.put(w - 5, 0, "[X]");
}

}  // namespace

Canvas drawDialog(HWND dialog) {
  Canvas canvas;
  canvas.resize(cells(dialog->cx, 4) + 2, cells(dialog->cy, 8) + 3);
  drawFrame(canvas, dialog->text);
  // Group boxes first, so the controls inside them are drawn over the frame.
  for (HWND c : win::controls(dialog))
    if (c->visible && c->kind == ControlKind::GroupBox) drawControl(canvas, c, 1, 2);
  for (HWND c : win::controls(dialog))
    if (c->visible && c->kind != ControlKind::GroupBox) drawControl(canvas, c, 1, 2);
  return canvas;
}

Canvas drawMessageBox(const std::string& text, const std::string& caption, const std::vector<int>& buttons,
                      int chosen) {
  std::vector<std::string> lines = wrap(text, 60);
  std::string row;
  for (size_t i = 0; i < buttons.size(); ++i)
    row += (i ? "  " : "") + std::string("[ ") + buttonName(buttons[i]) + " ]";
  int width = static_cast<int>(std::max(row.size(), caption.size() + 6));
  for (const std::string& l : lines) width = std::max(width, static_cast<int>(l.size()));
  Canvas canvas;
  canvas.resize(width + 4, static_cast<int>(lines.size()) + 5);
  drawFrame(canvas, caption);
  for (size_t i = 0; i < lines.size(); ++i) canvas.put(2, 1 + static_cast<int>(i) + 1, lines[i]);
  int col = 2 + (width - static_cast<int>(row.size())) / 2, r = static_cast<int>(lines.size()) + 3;
  for (size_t i = 0; i < buttons.size(); ++i) {
    std::string face = "[ " + buttonName(buttons[i]) + " ]";
    canvas.put(col, r, face, static_cast<int>(i) == chosen ? 'r' : ' ');
    if (static_cast<int>(i) == chosen) canvas.put(col - 1, r, ">");
    col += static_cast<int>(face.size()) + 2;
  }
  return canvas;
}

}  // namespace ui
