// The AutoLISP evaluator: symbols, evaluation and the errors it reports.
#pragma once
#include <string>

#include "lisp/cell.h"

namespace lisp {

// An evaluation error, reported by the top level as "; error: <message>".
// Thrown only inside the evaluator and caught at its entry points.
struct LispError {
  std::string message;
};

class Interpreter {
 public:
  Interpreter();
  Interpreter(const Interpreter&) = delete;
  Interpreter& operator=(const Interpreter&) = delete;

  Store& store() { return m_store; }
  Value T() const { return m_t; }
  // The symbol with an empty name: what (princ) returns to print nothing.
  Value quiet() const { return m_quiet; }

  Value symbol(const std::string& name) { return m_store.symbol(name); }
  Value makeInt(long value);
  Value makeReal(double value);
  Value makeString(const std::string& text);
  Value makeName(Type type, const long name[2]);
  Value cons(Value car, Value cdr);
  void defineSubr(const char* name, Subr subr, bool special = false);

  Value eval(Value form);
  // Reads and evaluates every expression of a text; the last one's value.
  Value evalText(const std::string& text);

  // Guards the nesting of evaluations and of files loading files.
  class Nesting {
   public:
    explicit Nesting(Interpreter& lisp);
    ~Nesting() { --m_lisp.m_depth; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    Interpreter& m_lisp;
  };

 private:
  Value apply(Value head, Value function, Value args);
  Value evalArgs(Value args);

  Store m_store;
  Value m_t;
  Value m_quiet;
  int m_depth = 0;
};

// The interpreter of the host process, with every built-in defined.
Interpreter& hostInterpreter();

[[noreturn]] void fail(const std::string& message);
// "bad argument type: <predicate> <value as prin1 shows it>"
[[noreturn]] void badArgument(const char* predicate, Value value);

}  // namespace lisp
