// Quoting, assignment and list access.
#include "lisp/builtins.h"

namespace lisp {

Value Args::next() {
  if (!isCons(m_rest)) fail("too few arguments");
  Value value = m_rest->car;
  m_rest = m_rest->cdr;
  return value;
}

Value Args::optional() { return more() ? next() : nullptr; }

void Args::end() const {
  if (more()) fail("too many arguments");
}

const std::string& stringArg(Value value) {
  if (!isType(value, Type::String)) badArgument("stringp", value);
  return value->text;
}

namespace {

Value quote(Interpreter&, Value args) {
  Args list(args);
  Value value = list.next();
  list.end();
  return value;
}

// (setq sym value [sym value] ...): the last value assigned.
Value setq(Interpreter& lisp, Value args) {
  Args list(args);
  Value result = nullptr;
  do {
    Value target = list.next();
    if (!isType(target, Type::Symbol) || target == lisp.T() || target == lisp.quiet()) badArgument("symbolp", target);
    result = lisp.eval(list.next());
    target->car = result;
  } while (list.more());
  return result;
}

Value listArg(Args& list) {
  Value value = list.next();
  list.end();
  if (value && !isCons(value)) badArgument("consp", value);
  return value;
}

Value car(Interpreter&, Value args) {
  Args list(args);
  Value value = listArg(list);
  return value ? value->car : nullptr;
}

Value cdr(Interpreter&, Value args) {
  Args list(args);
  Value value = listArg(list);
  return value ? value->cdr : nullptr;
}

// Arguments arrive as a fresh list already.
Value list(Interpreter&, Value args) { return args; }

}  // namespace

void defineCoreBuiltins(Interpreter& lisp) {
  lisp.defineSubr("quote", quote, true);
  lisp.defineSubr("setq", setq, true);
  lisp.defineSubr("car", car);
  lisp.defineSubr("cdr", cdr);
  lisp.defineSubr("list", list);
}

}  // namespace lisp
