// Built-in functions, defined into an interpreter by area.
#pragma once
#include "lisp/interpreter.h"

namespace lisp {

// Walks a built-in's argument list, reporting missing and extra arguments.
class Args {
 public:
  explicit Args(Value list) : m_rest(list) {}
  bool more() const { return isCons(m_rest); }
  // The next argument; "too few arguments" when there is none.
  Value next();
  // The next argument, or nil when the list has ended.
  Value optional();
  // "too many arguments" when any is left.
  void end() const;

 private:
  Value m_rest;
};

// The string argument's text, or "bad argument type: stringp ...".
const std::string& stringArg(Value value);

void defineCoreBuiltins(Interpreter& lisp);       // quote, setq, car, cdr, list
void defineOutputBuiltins(Interpreter& lisp);     // princ, prin1, print, load
void defineArxBuiltins(Interpreter& lisp);        // arxload, arxunload
void defineEntityBuiltins(Interpreter& lisp);     // entlast, entnext, handent
void defineSelectionBuiltins(Interpreter& lisp);  // ssget, sslength, ssname, entsel
void defineSysvarBuiltins(Interpreter& lisp);     // getvar, setvar

}  // namespace lisp
