// Printing to the command line and loading program files.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "acad/console.h"
#include "lisp/builtins.h"
#include "lisp/printer.h"

namespace lisp {
namespace {

// (princ [value]), (prin1 [value]), (print [value]): the value is returned;
// with none, the quiet symbol that prints as nothing.
Value printed(Interpreter& lisp, Value args, bool quoted, const char* before, const char* after) {
  Args list(args);
  if (!list.more()) return lisp.quiet();
  Value value = list.next();
  list.end();
  acad::console::write(before + toText(value, quoted) + after);
  return value;
}

Value princ(Interpreter& lisp, Value args) { return printed(lisp, args, false, "", ""); }
Value prin1(Interpreter& lisp, Value args) { return printed(lisp, args, true, "", ""); }
Value print(Interpreter& lisp, Value args) { return printed(lisp, args, true, "\n", " "); }

// The file that (load name) means: the name as given, or with ".lsp" added
// when it has no extension of its own.
std::filesystem::path programFile(const std::string& name) {
  std::filesystem::path path(name);
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error) || path.has_extension()) return path;
  return path.string() + ".lsp";
}

// (load name [on-failure]): the last value of the file's expressions.
Value load(Interpreter& lisp, Value args) {
  Args list(args);
  const std::string& name = stringArg(list.next());
  bool hasFallback = list.more();
  Value fallback = list.optional();
  list.end();
  std::filesystem::path path = programFile(name);
  std::error_code error;
  std::ifstream in;
  if (std::filesystem::is_regular_file(path, error)) in.open(path, std::ios::binary);
  if (!in.is_open()) {
    if (hasFallback) return fallback;
    fail("LOAD failed: " + toText(lisp.makeString(name), true));
  }
  std::ostringstream text;
  text << in.rdbuf();
  Interpreter::Nesting nesting(lisp);
  return lisp.evalText(text.str());
}

}  // namespace

void defineOutputBuiltins(Interpreter& lisp) {
  lisp.defineSubr("princ", princ);
  lisp.defineSubr("prin1", prin1);
  lisp.defineSubr("print", print);
  lisp.defineSubr("load", load);
}

}  // namespace lisp
