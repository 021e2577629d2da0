// Command-line transcript and answers.
#include "acad/console.h"

#include <cstdio>

namespace acad_console {
namespace {
std::FILE* g_script = nullptr;
bool g_interactive = false;
int g_exhausted = 0;
bool g_capturing = false;
std::string g_captured;
bool g_afterTypedLine = false;  // the person's Enter already began a new line
bool g_hasPending = false;      // a line peeked at and not yet taken
std::string g_pending;

bool readRaw(std::string& line) {
  if (g_hasPending) {
    g_hasPending = false;
    line = g_pending;
    return true;
  }
  std::FILE* in = g_script ? g_script : stdin;
  line.clear();
  int c;
  while ((c = std::fgetc(in)) != EOF && c != '\n') line.push_back(static_cast<char>(c));
  if (c == EOF && line.empty()) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool takeLine(const std::string& prompt, std::string& answer) {
  write(prompt);
  if (!readRaw(answer)) {
    if (!g_interactive) write("\n");
    return false;
  }
  if (g_interactive)
    g_afterTypedLine = true;
  else
    write(answer);
  return true;
}
}  // namespace

void write(const std::string& text) {
  std::string_view out(text);
  if (g_afterTypedLine && !out.empty()) {
    if (out.front() == '\n') out.remove_prefix(1);
    g_afterTypedLine = false;
  }
  if (g_capturing) {
    g_captured.append(out);
    return;
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
}

bool readLine(const std::string& prompt, std::string& answer) {
  if (takeLine(prompt, answer)) return true;
  ++g_exhausted;
  return false;
}

bool readCommand(const std::string& prompt, std::string& line) { return takeLine(prompt, line); }

bool peekLine(std::string& line) {
  if (!g_hasPending && !readRaw(g_pending)) return false;
  g_hasPending = true;
  line = g_pending;
  return true;
}

bool interactive() { return g_interactive; }
void useScript(std::FILE* script) {
  g_script = script;
  g_hasPending = false;
}
void setInteractive(bool value) { g_interactive = value; }
int exhaustedCount() { return g_exhausted; }

void beginCapture() {
  g_capturing = true;
  g_captured.clear();
}

std::string endCapture() {
  g_capturing = false;
  std::string captured;
  captured.swap(g_captured);
  return captured;
}

}  // namespace acad_console
