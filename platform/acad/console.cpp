// Command-line transcript and answers.
#include "acad/console.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "ui/line_editor.h"

namespace acad::console {
namespace {
std::FILE* g_script = nullptr;
bool g_interactive = false;
int g_exhausted = 0;
bool g_capturing = false;
std::string g_captured;
bool g_afterTypedLine = false;  // the person's Enter already began a new line
bool g_hasPending = false;      // a line peeked at and not yet taken
std::string g_pending;
uint64_t g_messages = 0;  // messages of modules written since start-up
bool g_closed = false;    // the input has ended for good

// The last characters written; a fixed buffer, for the console may write
// where every heap block is counted.
constexpr size_t kTail = 64;
char g_tail[kTail];
size_t g_tailLength = 0;

void remember(std::string_view text) {
  if (text.size() >= kTail) text.remove_prefix(text.size() - kTail);
  size_t keep = std::min(g_tailLength, kTail - text.size());
  std::memmove(g_tail, g_tail + g_tailLength - keep, keep);
  std::memcpy(g_tail + keep, text.data(), text.size());
  g_tailLength = keep + text.size();
}

using ui::terminal::LineEnd;

LineEnd readRaw(std::string& line) {
  if (g_hasPending) {
    g_hasPending = false;
    line = g_pending;
    return LineEnd::Entered;
  }
  if (!g_script && g_interactive) return ui::terminal::readTerminalLine(line);
  std::FILE* in = g_script ? g_script : stdin;
  line.clear();
  int c;
  while ((c = std::fgetc(in)) != EOF && c != '\n') line.push_back(static_cast<char>(c));
  if (c == EOF && line.empty()) return LineEnd::Closed;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return LineEnd::Entered;
}

LineEnd takeLine(const std::string& prompt, std::string& answer) {
  write(prompt);
  LineEnd end = readRaw(answer);
  g_closed = end == LineEnd::Closed;
  if (end == LineEnd::Entered) {
    if (g_interactive) {
      g_afterTypedLine = true;
      remember(answer);  // as the screen shows it
      remember("\n");
    } else {
      write(answer);
    }
  } else if (end == LineEnd::Cancelled) {
    write("*Cancel*");
  } else if (!g_interactive || end == LineEnd::Closed) {
    write("\n");
  }
  return end;
}
}  // namespace

void write(const std::string& text) {
  std::string_view out(text);
  if (g_afterTypedLine && !out.empty()) {
    if (out.front() == '\n') out.remove_prefix(1);
    g_afterTypedLine = false;
  }
  remember(out);
  if (g_capturing) {
    g_captured.append(out);
    return;
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
}

// Ctrl+D at a prompt cancels it, as Esc does.
bool readLine(const std::string& prompt, std::string& answer) {
  LineEnd end = takeLine(prompt, answer);
  if (end == LineEnd::Finished) write("*Cancel*");
  if (end == LineEnd::Entered) return true;
  ++g_exhausted;
  return false;
}

// A cancelled command line is an empty one; Ctrl+D there ends the session.
bool readCommand(const std::string& prompt, std::string& line) {
  LineEnd end = takeLine(prompt, line);
  if (end == LineEnd::Cancelled) line.clear();
  return end == LineEnd::Entered || end == LineEnd::Cancelled;
}

bool peekLine(std::string& line) {
  if (!g_hasPending && readRaw(g_pending) != LineEnd::Entered) return false;
  g_hasPending = true;
  line = g_pending;
  return true;
}

bool transcriptEndsWith(std::string_view text) { return std::string_view(g_tail, g_tailLength).ends_with(text); }
bool atLineStart() { return g_tailLength == 0 || g_tail[g_tailLength - 1] == '\n'; }
void writeMessage(const std::string& text) {
  ++g_messages;
  write(text);
}
uint64_t messageCount() { return g_messages; }

bool interactive() { return g_interactive; }
bool inputClosed() { return g_closed; }
void useScript(std::FILE* script) {
  g_script = script;
  g_hasPending = false;
}
void setInteractive(bool value) { g_interactive = value; }
int exhaustedCount() { return g_exhausted; }

void beginCapture() {
  g_tailLength = 0;
  g_capturing = true;
  g_captured.clear();
}

std::string endCapture() {
  g_capturing = false;
  std::string captured;
  captured.swap(g_captured);
  return captured;
}

}  // namespace acad::console
