// Command-line transcript and answers.
#include "acad/console.h"

#include <cstdio>

namespace acad_console {
namespace {
std::FILE* g_script = nullptr;
bool g_interactive = false;
int g_exhausted = 0;
}  // namespace

void write(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

bool readLine(const std::string& prompt, std::string& answer) {
  write(prompt);
  std::FILE* in = g_script ? g_script : stdin;
  answer.clear();
  int c;
  while ((c = std::fgetc(in)) != EOF && c != '\n') answer.push_back(static_cast<char>(c));
  if (c == EOF && answer.empty()) {
    ++g_exhausted;
    if (!g_interactive) write("\n");
    return false;
  }
  if (!answer.empty() && answer.back() == '\r') answer.pop_back();
  // A script's answers appear in the transcript as if typed.
  if (!g_interactive) write(answer + "\n");
  return true;
}

bool interactive() { return g_interactive; }
void useScript(std::FILE* script) { g_script = script; }
void setInteractive(bool value) { g_interactive = value; }
int exhaustedCount() { return g_exhausted; }

}  // namespace acad_console
