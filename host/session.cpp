// The command loop.
#include "session.h"

#include "platform.h"

namespace host_session {
namespace {
bool g_quit = false;

std::string trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool evaluate(const std::string& expression) {
  acad::console::write("\n");
  return lisp::evaluateAndPrint(expression);
}

// A command of a loaded module wins over the host's own command of the same
// name, unless the name asks for the built-in one with ".".
bool runCommand(const std::string& name) {
  std::string prefix = name.substr(0, name.size() - acad::host_commands::baseName(name).size());
  bool builtIn = prefix.find('.') != std::string::npos;
  if (!builtIn) {
    if (const acad::commands::Registered* command = acad::commands::find(name)) {
      acad::commands::run(acad::commands::Registered(*command));
      return true;
    }
  }
  if (acad::host_commands::exists(name)) {
    acad::host_commands::ConsoleAnswers answers;
    return acad::host_commands::run(name, answers);
  }
  // A command registered for loading on demand loads its module first.
  if (!builtIn && acad::demand_load::loadForCommand(name)) {
    if (const acad::commands::Registered* command = acad::commands::find(name)) {
      acad::commands::run(acad::commands::Registered(*command));
      return true;
    }
  }
  acad::console::write("\nUnknown command \"" + acad::host_commands::baseName(name) + "\".  Press F1 for help.");
  return false;
}
}  // namespace

bool execute(const std::string& line) {
  std::string text = trimmed(line);
  if (text.empty()) return true;
  if (text.front() == '(' || text.front() == '!') return evaluate(text);
  return runCommand(text);
}

// Expressions may queue further ones; a bounded number of rounds keeps a
// module that always queues again from stalling the host.
bool evaluateQueue() {
  constexpr int kMaxRounds = 100;
  bool succeeded = true;
  for (int round = 0; round < kMaxRounds; ++round) {
    auto expressions = acad::lisp_functions::takeQueuedExpressions();
    if (expressions.empty()) return succeeded;
    for (const std::string& expression : expressions) {
      acad::console::write("\nCommand: " + expression);
      succeeded = evaluate(expression) && succeeded;
    }
  }
  acad::lisp_functions::takeQueuedExpressions();
  acad::console::write("\n; error: too many queued expressions");
  return false;
}

bool run() {
  bool succeeded = evaluateQueue();
  std::string line;
  while (!g_quit && acad::console::readCommand("\nCommand: ", line)) {
    succeeded = execute(line) && succeeded;
    succeeded = evaluateQueue() && succeeded;
  }
  return succeeded;
}

void requestQuit() { g_quit = true; }
bool quitRequested() { return g_quit; }

}  // namespace host_session
