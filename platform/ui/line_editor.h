// One line typed at the terminal, read key by key so that the keys a CAD
// command line knows do what a person expects: Enter takes the line, Esc and
// Ctrl+C cancel, Ctrl+D on an empty line says "no more", F1 asks for HELP,
// Backspace and Ctrl+U edit. Other escape sequences are swallowed whole
// instead of landing in the line.
#pragma once
#include <string>

namespace ui::terminal {

// Entered: Enter (or F1); Cancelled: Esc or Ctrl+C; Finished: Ctrl+D on an
// empty line; Closed: the terminal sends nothing more.
enum class LineEnd { Entered, Cancelled, Finished, Closed };

LineEnd readTerminalLine(std::string& line);

// What one byte (or escape sequence) does to the line being typed; the
// terminal-free part of the editor. `echo` receives what to show.
struct LineKeys {
  std::string line;
  std::string echo;
  // Feeds one input unit: a byte, or a whole escape sequence. Answers true
  // when the line is finished, with `end` saying how.
  bool feed(const std::string& unit, LineEnd& end);
};

}  // namespace ui::terminal
