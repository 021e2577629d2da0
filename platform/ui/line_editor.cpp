#include "ui/line_editor.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "ui/terminal_guard.h"

namespace ui::terminal {
namespace {

constexpr char kCtrlC = 3, kCtrlD = 4, kCtrlU = 21, kEscape = 27, kDelete = 127, kBackspace = 8;

bool byteWithin(int milliseconds) {
  pollfd p{STDIN_FILENO, POLLIN, 0};
  return poll(&p, 1, milliseconds) > 0;
}

// -1 once the terminal sends nothing more.
int readByte() {
  unsigned char c;
  for (;;) {
    ssize_t got = read(STDIN_FILENO, &c, 1);
    if (got == 1) return c;
    if (got < 0 && errno == EINTR) continue;
    return -1;
  }
}

// An escape sequence after its ESC: a lone ESC, ESC + one byte, or a CSI/SS3
// sequence up to its final byte.
std::string escapeSequence() {
  std::string unit(1, kEscape);
  if (!byteWithin(60)) return unit;
  int next = readByte();
  if (next < 0) return unit;
  unit += static_cast<char>(next);
  if (next != '[' && next != 'O') return unit;
  while (byteWithin(60)) {
    int c = readByte();
    if (c < 0) break;
    unit += static_cast<char>(c);
    if (c >= 0x40 && c <= 0x7e) break;
  }
  return unit;
}

void show(const std::string& text) {
  if (text.empty()) return;
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

// Erases the last character shown, a whole UTF-8 sequence at once.
void eraseLast(std::string& line, std::string& echo) {
  if (line.empty()) return;
  while (line.size() > 1 && (static_cast<unsigned char>(line.back()) & 0xc0) == 0x80) line.pop_back();
  line.pop_back();
  echo += "\b \b";
}

}  // namespace

bool LineKeys::feed(const std::string& unit, LineEnd& end) {
  echo.clear();
  if (unit == "\x1bOP" || unit == "\x1b[11~") {  // F1, as the terminal sends it
    echo = "HELP\n";
    line = "HELP";
    end = LineEnd::Entered;
    return true;
  }
  if (unit.size() != 1) return false;  // a key the line has no use for
  char c = unit[0];
  switch (c) {
    case '\r':
    case '\n':
      echo = "\n";
      end = LineEnd::Entered;
      return true;
    case kEscape:
    case kCtrlC: end = LineEnd::Cancelled; return true;
    case kCtrlD:
      if (!line.empty()) return false;
      end = LineEnd::Finished;
      return true;
    case kCtrlU:
      while (!line.empty()) eraseLast(line, echo);
      return false;
    case kDelete:
    case kBackspace: eraseLast(line, echo); return false;
    default:
      if (static_cast<unsigned char>(c) < 32) return false;
      line += c;
      echo = unit;
      return false;
  }
}

LineEnd readTerminalLine(std::string& line) {
  RawKeys keys;
  LineKeys editor;
  LineEnd end = LineEnd::Closed;
  for (;;) {
    int c = readByte();
    if (c < 0) break;
    std::string unit = c == kEscape ? escapeSequence() : std::string(1, static_cast<char>(c));
    bool finished = editor.feed(unit, end);
    show(editor.echo);
    if (finished) break;
  }
  line = editor.line;
  return end;
}

}  // namespace ui::terminal
