// Command-line transcript and answers.
#include "acad/console.h"

#include <cstdio>

namespace acad_console {
namespace {
std::FILE* g_script = nullptr;
bool g_interactive = false;
int g_exhausted = 0;
bool g_hasPending = false;  // a line peeked at and not yet taken
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
}  // namespace

void write(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

bool readLine(const std::string& prompt, std::string& answer) {
  write(prompt);
  if (!readRaw(answer)) {
    ++g_exhausted;
    if (!g_interactive) write("\n");
    return false;
  }
  // A script's answers appear in the transcript as if typed.
  if (!g_interactive) write(answer + "\n");
  return true;
}

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

}  // namespace acad_console
