// The top level: one command-line expression in, its printed value out.
#include <new>

#include "acad/console.h"
#include "lisp/builtins.h"
#include "lisp/lisp.h"
#include "lisp/printer.h"

namespace lisp {

Interpreter& hostInterpreter() {
  static Interpreter lisp;
  static const bool defined = [] {
    defineCoreBuiltins(lisp);
    defineOutputBuiltins(lisp);
    defineArxBuiltins(lisp);
    defineEntityBuiltins(lisp);
    defineSelectionBuiltins(lisp);
    defineSysvarBuiltins(lisp);
    return true;
  }();
  (void)defined;
  return lisp;
}

namespace {
// Evaluations in progress; an application's function may evaluate again
// while one runs, and cells are collected only when the outermost ends.
int g_active = 0;

// The result starts its own line after a message a module printed meanwhile
// (`since`: the count of messages when the evaluation began); after princ
// it follows on the same line, as the command line has it.
void writeResult(const std::string& text, uint64_t since) {
  bool messaged = acad::console::messageCount() != since;
  acad::console::write(messaged && !acad::console::atLineStart() ? "\n" + text : text);
}
}  // namespace

bool evaluateAndPrint(const std::string& text) {
  Interpreter& lisp = hostInterpreter();
  bool ok = false;
  uint64_t since = acad::console::messageCount();
  ++g_active;
  try {
    std::string source = !text.empty() && text[0] == '!' ? text.substr(1) : text;
    writeResult(toText(lisp.evalText(source), true), since);
    ok = true;
  } catch (const LispError& error) {
    writeResult("; error: " + error.message, since);
  } catch (const std::bad_alloc&) {
    writeResult("; error: insufficient memory", since);
  }
  if (--g_active == 0 && lisp.store().collectionDue()) lisp.store().collect();
  return ok;
}

}  // namespace lisp
