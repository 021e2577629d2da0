// The top level: one command-line expression in, its printed value out.
#include <new>

#include "acad/console.h"
#include "lisp/builtins.h"
#include "lisp/lisp.h"
#include "lisp/printer.h"

namespace acad_lisp {

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
}  // namespace

bool evaluateAndPrint(const std::string& text) {
  Interpreter& lisp = hostInterpreter();
  bool ok = false;
  ++g_active;
  try {
    std::string source = !text.empty() && text[0] == '!' ? text.substr(1) : text;
    acad_console::write(toText(lisp.evalText(source), true));
    ok = true;
  } catch (const LispError& error) {
    acad_console::write("; error: " + error.message);
  } catch (const std::bad_alloc&) {
    acad_console::write("; error: insufficient memory");
  }
  if (--g_active == 0 && lisp.store().collectionDue()) lisp.store().collect();
  return ok;
}

}  // namespace acad_lisp
