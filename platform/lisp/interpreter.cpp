// Evaluation: symbols to their values, lists to calls of built-ins or of
// functions that applications define through the host's function table.
#include "lisp/interpreter.h"

#include "lisp/external.h"
#include "lisp/printer.h"
#include "lisp/reader.h"

namespace lisp {

namespace {
// Deepest nesting of evaluations: source nesting is bounded by the reader,
// files that load files are bounded here.
constexpr int kMaxEvalDepth = 1024;
}  // namespace

void fail(const std::string& message) { throw LispError{message}; }

void badArgument(const char* predicate, Value value) {
  fail(std::string("bad argument type: ") + predicate + " " + toText(value, true));
}

Interpreter::Interpreter() {
  m_t = symbol("T");
  m_t->car = m_t;
  m_quiet = symbol("");
}

Interpreter::Nesting::Nesting(Interpreter& lisp) : m_lisp(lisp) {
  if (m_lisp.m_depth >= kMaxEvalDepth) fail("nesting too deep");
  ++m_lisp.m_depth;
}

Value Interpreter::makeInt(long value) {
  Value v = m_store.make(Type::Int);
  v->integer = value;
  return v;
}

Value Interpreter::makeReal(double value) {
  Value v = m_store.make(Type::Real);
  v->real = value;
  return v;
}

Value Interpreter::makeString(const std::string& text) {
  Value v = m_store.make(Type::String);
  v->text = text;
  return v;
}

Value Interpreter::makeName(Type type, const long name[2]) {
  Value v = m_store.make(type);
  v->name[0] = name[0];
  v->name[1] = name[1];
  return v;
}

Value Interpreter::cons(Value car, Value cdr) {
  Value v = m_store.make(Type::Cons);
  v->car = car;
  v->cdr = cdr;
  return v;
}

void Interpreter::defineSubr(const char* name, Subr subr, bool special) {
  Value function = m_store.make(Type::Subr);
  function->subr = subr;
  function->special = special;
  Value sym = symbol(name);
  function->text = sym->text;
  sym->car = function;
}

Value Interpreter::eval(Value form) {
  if (!form) return nullptr;
  if (form->type == Type::Symbol) return form->car;
  if (form->type != Type::Cons) return form;
  Nesting nesting(*this);
  Value head = form->car;
  Value function = isType(head, Type::Symbol) ? head->car : eval(head);
  return apply(head, function, form->cdr);
}

Value Interpreter::apply(Value head, Value function, Value args) {
  if (isType(function, Type::Subr)) return function->subr(*this, function->special ? args : evalArgs(args));
  if (!function && isType(head, Type::Symbol)) {
    if (!isExternal(head->text)) fail("no function definition: " + head->text);
    return callExternal(*this, head->text, evalArgs(args));
  }
  fail("bad function: " + toText(function, true));
}

Value Interpreter::evalArgs(Value args) {
  Value head = nullptr;
  Value last = nullptr;
  for (; isCons(args); args = args->cdr) {
    Value cell = cons(eval(args->car), nullptr);
    if (last) {
      last->cdr = cell;
    } else {
      head = cell;
    }
    last = cell;
  }
  return head;
}

Value Interpreter::evalText(const std::string& text) {
  Value result = nullptr;
  for (Value form : readAll(*this, text)) result = eval(form);
  return result;
}

}  // namespace lisp
