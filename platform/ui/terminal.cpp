// Dialogs in the terminal, with plain ANSI sequences.
#include "ui/terminal.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <set>
#include <vector>

#include "afxwin.h"
#include "ui/canvas.h"
#include "ui/snapshot.h"

namespace acad_ui::terminal {
namespace {

int g_screens = 0;  // dialogs on the alternate screen
std::set<HWND> g_modeless;  // modeless dialogs drawn
std::chrono::steady_clock::time_point g_lastDraw;

void out(const std::string& s) {
  std::fwrite(s.data(), 1, s.size(), stdout);
  std::fflush(stdout);
}

// Raw keyboard input for as long as a dialog takes keys.
class RawInput {
 public:
  RawInput() {
    m_ok = tcgetattr(STDIN_FILENO, &m_saved) == 0;
    if (!m_ok) return;
    termios raw = m_saved;
    raw.c_lflag &= ~(ICANON | ECHO);
    raw.c_iflag &= ~(ICRNL | IXON);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  }
  ~RawInput() {
    if (m_ok) tcsetattr(STDIN_FILENO, TCSANOW, &m_saved);
  }
  RawInput(const RawInput&) = delete;
  RawInput& operator=(const RawInput&) = delete;

 private:
  termios m_saved{};
  bool m_ok = false;
};

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
    switch (f) {
      case 'A': return {Key::Up, 0};
      case 'B': return {Key::Down, 0};
      case 'C': return {Key::Right, 0};
      case 'D': return {Key::Left, 0};
      case 'Z': return {Key::BackTab, 0};
      default:
        while (f >= '0' && f <= '9' && byteReady(10) && read(STDIN_FILENO, &f, 1) == 1) {}
        return {};
    }
  }
  if (c == '\t') return {Key::Tab, 0};
  if (c == '\r' || c == '\n') return {Key::Enter, 0};
  if (c == 127 || c == 8) return {Key::Backspace, 0};
  if (c >= 32 && c < 127) return {Key::Char, static_cast<char>(c)};
  return {};
}

void enterScreen() {
  if (g_screens++ == 0) out("\x1b[?1049h\x1b[?25l");
}

void leaveScreen() {
  if (g_screens > 0 && --g_screens == 0) out("\x1b[2J\x1b[?25h\x1b[?1049l");
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

void draw(HWND dialog) {
  if (!win::isLive(dialog) || !dialog->visible) return;
  out("\x1b[2J");
  paint(drawDialog(dialog), 2, 3);
  g_lastDraw = std::chrono::steady_clock::now();
}

// The controls Tab visits: those with a tab stop, and the checked button of
// each radio group, in template order.
std::vector<HWND> tabOrder(HWND dialog) {
  std::vector<HWND> order;
  for (HWND c : win::controls(dialog)) {
    if (!win::canTakeFocus(c)) continue;
    if ((c->style & WS_TABSTOP) || (c->kind == ControlKind::RadioButton && c->check == BST_CHECKED)) order.push_back(c);
  }
  return order;
}

void cycle(HWND dialog, const std::vector<HWND>& order, int direction) {
  if (order.empty()) return;
  auto at = std::find(order.begin(), order.end(), dialog->focus);
  int i = at == order.end() ? (direction > 0 ? -1 : 0) : static_cast<int>(at - order.begin());
  int n = static_cast<int>(order.size());
  win::setFocus(order[((i + direction) % n + n) % n]);
}

void arrow(HWND dialog, int direction) {
  HWND focus = dialog->focus;
  if (focus && focus->kind == ControlKind::Trackbar) {
    win::send(focus, TBM_SETPOS, TRUE, focus->pos + direction);
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
  HWND focus = dialog->focus;
  bool inEdit = focus && focus->kind == ControlKind::Edit;
  switch (press.key) {
    case Key::Tab: cycle(dialog, tabOrder(dialog), 1); break;
    case Key::BackTab: cycle(dialog, tabOrder(dialog), -1); break;
    case Key::Up: case Key::Left: arrow(dialog, -1); break;
    case Key::Down: case Key::Right: arrow(dialog, 1); break;
    case Key::Escape: win::send(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); break;
    case Key::Enter:
      if (focus && focus->kind == ControlKind::PushButton) win::click(focus);
      else win::send(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      break;
    case Key::Backspace:
      if (inEdit && !focus->text.empty()) win::send(focus, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(focus->text.substr(0, focus->text.size() - 1).c_str()));
      break;
    case Key::AltChar: accessKeyPressed(dialog, press.ch); break;
    case Key::Char:
      if (inEdit) {
        if (static_cast<int>(focus->text.size()) < focus->limit) win::send(focus, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((focus->text + press.ch).c_str()));
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
  RawInput raw;
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
std::unique_ptr<RawInput> g_modelessInput;
}  // namespace

void modelessShown(HWND dialog) {
  if (g_modeless.insert(dialog).second) enterScreen();
  if (!g_modelessInput) g_modelessInput = std::make_unique<RawInput>();
  draw(dialog);
}

void closing(HWND dialog) {
  if (!g_modeless.erase(dialog)) return;
  leaveScreen();
  if (g_modeless.empty()) g_modelessInput.reset();
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
  RawInput raw;
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

}  // namespace acad_ui::terminal
