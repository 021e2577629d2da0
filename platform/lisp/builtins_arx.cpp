// Loading and unloading applications from AutoLISP.
#include "acad/arx_loader.h"
#include "lisp/builtins.h"

namespace lisp {
namespace {

using Operation = support::Status (*)(const std::string& name);

// (arxload path [on-failure]), (arxunload name [on-failure]): the name given
// on success; on failure the fallback when there is one, else an error.
Value loaderCall(Value args, Operation operation, const char* failure) {
  Args list(args);
  Value name = list.next();
  const std::string& text = stringArg(name);
  bool hasFallback = list.more();
  Value fallback = list.optional();
  list.end();
  support::Status done = operation(text);
  if (done.ok()) return name;
  if (hasFallback) return fallback;
  fail(std::string(failure) + ": " + done.message());
}

Value arxload(Interpreter&, Value args) { return loaderCall(args, acad::arx::load, "ARXLOAD failed"); }

Value arxunload(Interpreter&, Value args) { return loaderCall(args, acad::arx::unload, "ARXUNLOAD failed"); }

}  // namespace

void defineArxBuiltins(Interpreter& lisp) {
  lisp.defineSubr("arxload", arxload);
  lisp.defineSubr("arxunload", arxunload);
}

}  // namespace lisp
