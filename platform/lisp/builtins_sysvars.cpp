// System variables: getvar and setvar.
#include "acadmem.h"
#include "adslib.h"
#include "lisp/builtins.h"

namespace lisp {
namespace {

// (getvar "NAME"): the value, nil for an unknown variable.
Value getvar(Interpreter& lisp, Value args) {
  Args list(args);
  const std::string& name = stringArg(list.next());
  list.end();
  resbuf value{};
  if (ads_getvar(name.c_str(), &value) != RTNORM) return nullptr;
  switch (ads_reskind(value.restype)) {
    case ResKind::Short: return lisp.makeInt(value.resval.rint);
    case ResKind::Long: return lisp.makeInt(value.resval.rlong);
    case ResKind::Real: return lisp.makeReal(value.resval.rreal);
    case ResKind::String: {
      Value text = lisp.makeString(value.resval.rstring ? value.resval.rstring : "");
      acad_free(value.resval.rstring);
      return text;
    }
    default: return nullptr;
  }
}

// (setvar "NAME" value): the value; a refusal is an error.
Value setvar(Interpreter&, Value args) {
  Args list(args);
  const std::string& name = stringArg(list.next());
  Value value = list.next();
  list.end();
  resbuf item{};
  if (isType(value, Type::Int)) {
    item.restype = RTSHORT;
    item.resval.rint = static_cast<short>(value->integer);
  } else if (isType(value, Type::Real)) {
    item.restype = RTREAL;
    item.resval.rreal = value->real;
  } else if (isType(value, Type::String)) {
    item.restype = RTSTR;
    item.resval.rstring = const_cast<char*>(value->text.c_str());
  } else {
    badArgument("atom", value);
  }
  if (ads_setvar(name.c_str(), &item) != RTNORM) fail("AutoCAD rejected function: (setvar \"" + name + "\")");
  return value;
}

}  // namespace

void defineSysvarBuiltins(Interpreter& lisp) {
  lisp.defineSubr("getvar", getvar);
  lisp.defineSubr("setvar", setvar);
}

}  // namespace lisp
