// Selection sets and picks: ssget, sslength, ssname, entsel.
#include <memory>

#include "adslib.h"
#include "lisp/builtins.h"
#include "lisp/external.h"

namespace lisp {
namespace {

Value selectionArg(Value value) {
  if (!isType(value, Type::SelectionSet)) badArgument("lselsetp", value);
  return value;
}

// (ssget) asks for objects; (ssget "X" [filter]) takes every entity that the
// filter's (code . value) pairs match. nil when nothing was selected.
Value ssget(Interpreter& lisp, Value args) {
  Args list(args);
  bool hasMode = list.more();
  Value mode = list.optional();
  Value filter = list.optional();
  list.end();
  const char* modeText = hasMode ? stringArg(mode).c_str() : nullptr;
  std::unique_ptr<resbuf, int (*)(resbuf*)> filterList(toGroupCodes(filter), ads_relrb);
  ads_name ss = {0, 0};
  if (ads_ssget(modeText, nullptr, nullptr, filterList.get(), ss) != RTNORM) return nullptr;
  Value set = lisp.makeName(Type::SelectionSet, ss);
  set->owned = true;
  return set;
}

Value sslength(Interpreter& lisp, Value args) {
  Args list(args);
  Value ss = selectionArg(list.next());
  list.end();
  long length = 0;
  if (ads_sslength(ss->name, &length) != RTNORM) return nullptr;
  return lisp.makeInt(length);
}

// (ssname ss index): the entity at that place, nil past the end.
Value ssname(Interpreter& lisp, Value args) {
  Args list(args);
  Value ss = selectionArg(list.next());
  Value index = list.next();
  list.end();
  if (!isType(index, Type::Int)) badArgument("fixnump", index);
  ads_name entity = {0, 0};
  if (ads_ssname(ss->name, index->integer, entity) != RTNORM) return nullptr;
  return lisp.makeName(Type::Entity, entity);
}

// (entsel [prompt]): (entity (x y z)), or nil when nothing was picked.
Value entsel(Interpreter& lisp, Value args) {
  Args list(args);
  bool hasPrompt = list.more();
  Value prompt = list.optional();
  list.end();
  ads_name entity = {0, 0};
  ads_point picked = {0, 0, 0};
  if (ads_entsel(hasPrompt ? stringArg(prompt).c_str() : nullptr, entity, picked) != RTNORM) return nullptr;
  Value point = lisp.cons(lisp.makeReal(picked[0]),
                          lisp.cons(lisp.makeReal(picked[1]), lisp.cons(lisp.makeReal(picked[2]), nullptr)));
  return lisp.cons(lisp.makeName(Type::Entity, entity), lisp.cons(point, nullptr));
}

}  // namespace

void defineSelectionBuiltins(Interpreter& lisp) {
  lisp.defineSubr("ssget", ssget);
  lisp.defineSubr("sslength", sslength);
  lisp.defineSubr("ssname", ssname);
  lisp.defineSubr("entsel", entsel);
}

}  // namespace lisp
