// Dialogs in the terminal, with plain ANSI sequences.
#include "ui/terminal.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "afxwin.h"
#include "support/command_line.h"
#include "ui/canvas.h"
#include "ui/snapshot.h"
#include "ui/terminal_guard.h"
#include "ui/viewport.h"

namespace ui::terminal {
namespace {

int g_screens = 0;          // dialogs on the alternate screen
std::set<HWND> g_modeless;  // modeless dialogs drawn
std::chrono::steady_clock::time_point g_lastDraw;

void out(const std::string& s) {
  std::fwrite(s.data(), 1, s.size(), stdout);
  std::fflush(stdout);
}

bool byteReady(int timeoutMs) {
  pollfd p{STDIN_FILENO, POLLIN, 0};
  return poll(&p, 1, timeoutMs) > 0;
}

// Reads one key; waits up to timeoutMs (-1: for ever). End of input reads
// as Escape, so a dialog never waits on a closed terminal.
KeyPress readKey(int timeoutMs) {
  if (!byteReady(timeoutMs)) return {};
  unsigned char c;
  if (read(STDIN_FILENO, &c, 1) != 1) return {Key::Escape, 0};
  if (c == 27) {
    if (!byteReady(60)) return {Key::Escape, 0};
    unsigned char n;
    if (read(STDIN_FILENO, &n, 1) != 1) return {Key::Escape, 0};
    if (n != '[' && n != 'O') return {Key::AltChar, static_cast<char>(n)};
    unsigned char f;
    if (read(STDIN_FILENO, &f, 1) != 1) return {Key::Escape, 0};
    int number = 0;
    while (f >= '0' && f <= '9' && byteReady(10)) {
      number = number * 10 + (f - '0');
      if (read(STDIN_FILENO, &f, 1) != 1) return {};
    }
    switch (f) {
      case 'A': return {Key::Up, 0};
      case 'B': return {Key::Down, 0};
      case 'C': return {Key::Right, 0};
      case 'D': return {Key::Left, 0};
      case 'Z': return {Key::BackTab, 0};
      case 'H': return {Key::Home, 0};
      case 'F': return {Key::End, 0};
      case '~':
        if (number == 1 || number == 7) return {Key::Home, 0};
        if (number == 4 || number == 8) return {Key::End, 0};
        if (number == 5) return {Key::PageUp, 0};
        if (number == 6) return {Key::PageDown, 0};
        return {};
      default: return {};
    }
  }
  if (c == 3 || c == 4) return {Key::Escape, 0};  // Ctrl+C, Ctrl+D
  if (c == '\t') return {Key::Tab, 0};
  if (c == '\r' || c == '\n') return {Key::Enter, 0};
  if (c == 127 || c == 8) return {Key::Backspace, 0};
  if (c >= 32 && c < 127) return {Key::Char, static_cast<char>(c)};
  return {};
}

void enterScreen() {
  guardTerminal();
  if (g_screens++ == 0) out("\x1b[?1049h\x1b[?25l");
  noteAlternateScreen(true);
}

void leaveScreen() {
  if (g_screens > 0 && --g_screens == 0) {
    out("\x1b[2J\x1b[?25h\x1b[?1049l");
    noteAlternateScreen(false);
  }
}

void paint(const Canvas& canvas, int top, int left) {
  std::string s;
  for (int r = 0; r < canvas.height; ++r) {
    s += "\x1b[" + std::to_string(top + r) + ";" + std::to_string(left) + "H";
    char mode = ' ';
    for (int c = 0; c < canvas.width; ++c) {
      char m = canvas.highlight[r][c];
      if (m != mode) {
        s += "\x1b[0m";
        if (m == 'r') s += "\x1b[7m";
        else if (m == 'u') s += "\x1b[4m";
        else if (m == 'd') s += "\x1b[2m";
        mode = m;
      }
      s += canvas.text[r][c];
    }
    s += "\x1b[0m";
  }
  out(s);
}

// The terminal's size; a large one when it cannot be told.
void terminalSize(int& rows, int& columns) {
  winsize size{};
  bool known = ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0;
  rows = known ? size.ws_row : 1000;
  columns = known ? size.ws_col : 1000;
}

// An edit box that takes the focus has its text selected: typing replaces
// it. Typing, or Backspace, ends the selection.
HWND g_lastFocus = nullptr;
HWND g_selected = nullptr;

void noteFocus(HWND dialog) {
  if (dialog->focus == g_lastFocus) return;
  g_lastFocus = dialog->focus;
  g_selected = g_lastFocus && g_lastFocus->kind == ControlKind::Edit ? g_lastFocus : nullptr;
}

void draw(HWND dialog) {
  if (!win::isLive(dialog) || !dialog->visible) return;
  noteFocus(dialog);
  out("\x1b[2J");
  int rows = 0, columns = 0;
  terminalSize(rows, columns);
  Canvas canvas = drawDialog(dialog);
  // Reverse video over a field means "selected"; once typed into it shows plain with the cursor.
  if (canvas.cursorRow >= 0 && g_selected != dialog->focus)
    canvas.mark(canvas.fieldCol, canvas.cursorRow, canvas.fieldWidth, ' ');
  Placement placement = fitToTerminal(canvas, rows, columns);
  paint(placement.shown, placement.top, placement.left);
  const Canvas& shown = placement.shown;
  if (shown.cursorRow >= 0)
    out("\x1b[" + std::to_string(placement.top + shown.cursorRow) + ";" +
        std::to_string(placement.left + shown.cursorCol) + "H\x1b[?25h");
  else out("\x1b[?25l");
  g_lastDraw = std::chrono::steady_clock::now();
}

// The controls Tab visits: those with a tab stop, and the checked button of
// each radio group, in reading order: top to bottom and left to right, the
// column of buttons beside the group boxes last.
std::vector<HWND> tabOrder(HWND dialog) {
  std::vector<HWND> order;
  int groupsEnd = 0;
  for (HWND c : win::controls(dialog)) {
    if (c->kind == ControlKind::GroupBox) groupsEnd = std::max(groupsEnd, c->x + c->cx);
    if (!win::canTakeFocus(c)) continue;
    if ((c->style & WS_TABSTOP) || (c->kind == ControlKind::RadioButton && c->check == BST_CHECKED)) order.push_back(c);
  }
  auto place = [groupsEnd](HWND c) { return std::tuple(groupsEnd > 0 && c->x >= groupsEnd, c->y, c->x); };
  std::stable_sort(order.begin(), order.end(), [&](HWND a, HWND b) { return place(a) < place(b); });
  return order;
}

void cycle(HWND dialog, const std::vector<HWND>& order, int direction) {
  if (order.empty()) return;
  auto at = std::find(order.begin(), order.end(), dialog->focus);
  int i = at == order.end() ? (direction > 0 ? -1 : 0) : static_cast<int>(at - order.begin());
  int n = static_cast<int>(order.size());
  win::setFocus(order[((i + direction) % n + n) % n]);
}

void slide(HWND bar, int position) {
  win::send(bar, TBM_SETPOS, TRUE, std::clamp(position, bar->rangeMin, bar->rangeMax));
}

void arrow(HWND dialog, int direction) {
  HWND focus = dialog->focus;
  if (focus && focus->kind == ControlKind::Trackbar) {
    slide(focus, focus->pos + direction);
    return;
  }
  if (focus && focus->kind == ControlKind::RadioButton) {
    std::vector<HWND> group = win::radioGroup(focus);
    group.erase(std::remove_if(group.begin(), group.end(), [](HWND c) { return !win::canTakeFocus(c); }), group.end());
    auto at = std::find(group.begin(), group.end(), focus);
    if (at != group.end() && group.size() > 1) {
      int n = static_cast<int>(group.size());
      HWND next = group[((at - group.begin() + direction) % n + n) % n];
      win::setFocus(next);
      win::click(next);  // moving in a radio group chooses
      return;
    }
  }
  std::vector<HWND> all;
  for (HWND c : win::controls(dialog))
    if (win::canTakeFocus(c)) all.push_back(c);
  cycle(dialog, all, direction);
}

void accessKeyPressed(HWND dialog, char key) {
  key = static_cast<char>(std::tolower(static_cast<unsigned char>(key)));
  const auto& all = win::controls(dialog);
  for (size_t i = 0; i < all.size(); ++i) {
    HWND c = all[i];
    if (!c->visible || win::accessKey(c->text) != key) continue;
    if (win::canTakeFocus(c)) {
      win::setFocus(c);
      if (c->kind != ControlKind::Edit && c->kind != ControlKind::Trackbar) win::click(c);
      return;
    }
    // A label's key moves to the control after it.
    for (size_t j = i + 1; j < all.size(); ++j)
      if (win::canTakeFocus(all[j])) return win::setFocus(all[j]);
  }
}

}  // namespace

void handleKey(HWND dialog, const KeyPress& press) {
  noteFocus(dialog);
  HWND focus = dialog->focus;
  bool inEdit = focus && focus->kind == ControlKind::Edit;
  switch (press.key) {
    case Key::Tab: cycle(dialog, tabOrder(dialog), 1); break;
    case Key::BackTab: cycle(dialog, tabOrder(dialog), -1); break;
    case Key::Up:
    case Key::Left: arrow(dialog, -1); break;
    case Key::Down:
    case Key::Right: arrow(dialog, 1); break;
    case Key::Escape: win::send(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); break;
    case Key::Enter:
      if (focus && focus->kind == ControlKind::PushButton) win::click(focus);
      else win::send(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      break;
    case Key::PageUp:
    case Key::PageDown:
      if (focus && focus->kind == ControlKind::Trackbar)
        slide(focus, focus->pos + (press.key == Key::PageUp ? -10 : 10));
      break;
    case Key::Home:
    case Key::End:
      if (focus && focus->kind == ControlKind::Trackbar)
        slide(focus, press.key == Key::Home ? focus->rangeMin : focus->rangeMax);
      break;
    case Key::Backspace:
      if (inEdit && g_selected == focus) win::send(focus, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
      else if (inEdit && !focus->text.empty())
        win::send(focus, WM_SETTEXT, 0,
                  reinterpret_cast<LPARAM>(focus->text.substr(0, focus->text.size() - 1).c_str()));
      g_selected = nullptr;
      break;
    case Key::AltChar: accessKeyPressed(dialog, press.ch); break;
    case Key::Char:
      if (inEdit) {
        std::string kept = g_selected == focus ? "" : focus->text;
        g_selected = nullptr;
        if (static_cast<int>(kept.size()) < focus->limit)
          win::send(focus, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((kept + press.ch).c_str()));
      } else if (press.ch == ' ') {
        if (focus) win::click(focus);
      } else {
        accessKeyPressed(dialog, press.ch);
      }
      break;
    default: break;
  }
}

void runModal(HWND dialog) {
  RawKeys raw;
  enterScreen();
  while (win::isLive(dialog) && !dialog->ended) {
    draw(dialog);
    handleKey(dialog, readKey(-1));
  }
  leaveScreen();
  // Back on the command line, the modeless dialogs still open show again.
  for (HWND d : win::dialogs())
    if (d != dialog && d->visible && g_screens > 0) draw(d);
}

namespace {
// Keys reach the modeless dialogs one by one for as long as any is shown.
std::unique_ptr<RawKeys> g_modelessInput;
}  // namespace

void modelessShown(HWND dialog) {
  if (g_modeless.insert(dialog).second) enterScreen();
  if (!g_modelessInput) g_modelessInput = std::make_unique<RawKeys>();
  draw(dialog);
}

// A modeless dialog (a progress report) may be on screen too briefly to be
// read: what its texts said last stays in the transcript.
void leaveOutcome(HWND dialog) {
  std::string said;
  for (HWND c : win::controls(dialog))
    if (c->kind == ControlKind::Static && c->visible && !c->text.empty()) said += " " + c->text;
  if (said.empty()) return;
  support::commandLine->write("\n" + dialog->text + ":" + said);
  const std::string& file = support::commandLine->fileToCreate();
  if (!file.empty()) support::commandLine->write("\nFile: " + file);
}

void closing(HWND dialog) {
  if (!g_modeless.erase(dialog)) return;
  leaveScreen();
  if (g_modeless.empty()) g_modelessInput.reset();
  leaveOutcome(dialog);
}

void changed(HWND window) {
  HWND dialog = window && window->kind != ControlKind::Dialog ? window->parent : window;
  if (!dialog || dialog->modal || !dialog->visible) return;
  // A live bar need not redraw more than a few times a second.
  if (std::chrono::steady_clock::now() - g_lastDraw > std::chrono::milliseconds(50)) draw(dialog);
}

int messageBox(const std::string& text, const std::string& caption, UINT type) {
  std::vector<int> buttons = messageBoxButtons(type);
  int chosen = static_cast<int>(std::find(buttons.begin(), buttons.end(), defaultButton(type)) - buttons.begin());
  RawKeys raw;
  enterScreen();
  while (true) {
    paint(drawMessageBox(text, caption, buttons, chosen), 6, 8);
    KeyPress k = readKey(-1);
    int n = static_cast<int>(buttons.size());
    if (k.key == Key::Tab || k.key == Key::Right || k.key == Key::Down) chosen = (chosen + 1) % n;
    else if (k.key == Key::BackTab || k.key == Key::Left || k.key == Key::Up) chosen = (chosen + n - 1) % n;
    else if (k.key == Key::Enter || (k.key == Key::Char && k.ch == ' ')) break;
    else if (k.key == Key::Escape) {
      auto cancel = std::find(buttons.begin(), buttons.end(), IDCANCEL);
      chosen = cancel != buttons.end() ? static_cast<int>(cancel - buttons.begin()) : (n == 1 ? 0 : chosen);
      if (cancel != buttons.end() || n == 1) break;
    }
  }
  leaveScreen();
  for (HWND d : win::dialogs())
    if (d->visible) draw(d);
  return buttons[chosen];
}

void pumpMessages() {
  std::vector<HWND> all = win::dialogs();
  HWND dialog = nullptr;
  for (auto it = all.rbegin(); it != all.rend() && !dialog; ++it)
    if ((*it)->visible && !(*it)->modal) dialog = *it;
  if (!dialog) return;
  while (win::isLive(dialog) && byteReady(0)) handleKey(dialog, readKey(0));
  if (win::isLive(dialog)) changed(dialog);
}

}  // namespace ui::terminal
