// The AutoLISP function table and the calls a handler makes while it runs:
// ads_defun, ads_regfunc, ads_undef, ads_getfuncode, ads_getargs, ads_ret*,
// ads_fail, ads_queueexpr.
#include "acad/lisp_functions.h"

#include <cstring>
#include <deque>

#include "acad/apps.h"
#include "acad/command_stack.h"
#include "acadmem.h"
#include "adslib.h"

namespace acad::lisp_functions {
namespace {

struct Definition {
  std::string name;
  const void* owner;
  int code;
  int (*handler)(void) = nullptr;
};

// What one external call collects while its handler runs.
struct Call {
  int code = RTERROR;
  resbuf* args = nullptr;    // the host's copy, handed out by ads_getargs
  resbuf* result = nullptr;  // set by ads_ret*
  bool failed = false;
  std::string failure;
};

std::vector<Definition>& definitions() {
  static std::vector<Definition> table;
  return table;
}

std::deque<std::string>& queued() {
  static std::deque<std::string> expressions;
  return expressions;
}

Call* g_call = nullptr;

Definition* findByName(const std::string& name) {
  std::string key = acad::commands::folded(name);
  for (Definition& definition : definitions())
    if (acad::commands::folded(definition.name) == key) return &definition;
  return nullptr;
}

// A deep copy, strings and binary chunks included; null if the heap is out.
resbuf* copyList(const resbuf* list) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (; list; list = list->rbnext) {
    resbuf* copy = ads_newrb(list->restype);
    if (!copy) break;
    *tail = copy;
    tail = &copy->rbnext;
    copy->resval = list->resval;
    ResKind kind = ads_reskind(list->restype);
    if (kind == ResKind::String) {
      copy->resval.rstring = list->resval.rstring ? acad__strdup(list->resval.rstring) : nullptr;
      if (list->resval.rstring && !copy->resval.rstring) break;
    } else if (kind == ResKind::Binary) {
      const ads_binary& from = list->resval.rbinary;
      copy->resval.rbinary.buf = nullptr;
      if (from.clen > 0 && from.buf) {
        copy->resval.rbinary.buf = static_cast<char*>(acad_malloc(from.clen));
        if (!copy->resval.rbinary.buf) break;
        std::memcpy(copy->resval.rbinary.buf, from.buf, from.clen);
      }
    }
  }
  if (list) {  // ran out of memory part way
    ads_relrb(head);
    return nullptr;
  }
  return head;
}

int setResult(resbuf* result) {
  if (!g_call || !result) {
    ads_relrb(result);
    return RTERROR;
  }
  ads_relrb(g_call->result);
  g_call->result = result;
  return RTNORM;
}

int setSingle(int type) { return setResult(ads_newrb(type)); }

}  // namespace

bool isDefined(const std::string& name) { return findByName(name) != nullptr; }

namespace {
// Runs one external call: the handler when there is one, else the module's
// entry point with kInvkSubrMsg.
bool run(acad::apps::App* app, int code, int (*handler)(void), const resbuf* args, resbuf** result,
         std::string* failure) {
  Call current;
  current.code = code;
  current.args = copyList(args);
  Call* outer = g_call;
  g_call = &current;
  bool succeeded = true;
  if (handler) {
    acad::apps::Scope scope(app);
    int status = handler();
    succeeded = status == RSRSLT || status == RTNORM;
  } else {
    acad::apps::send(*app, AcRx::kInvkSubrMsg);
  }
  g_call = outer;
  ads_relrb(current.args);
  if (current.failed || !succeeded) {
    ads_relrb(current.result);
    *failure = current.failure;
    return false;
  }
  *result = current.result ? current.result : ads_newrb(RTNIL);
  return true;
}
}  // namespace

bool call(const char* name, const resbuf* args, resbuf** result, std::string* failure) {
  *result = nullptr;
  failure->clear();
  const Definition* definition = name ? findByName(name) : nullptr;
  if (!definition) {
    *failure = std::string("no function definition: ") + (name ? name : "");
    return false;
  }
  auto* app = static_cast<acad::apps::App*>(const_cast<void*>(definition->owner));
  if (!definition->handler && !(app && app->entryPoint)) {
    *failure = "function has no handler";
    return false;
  }
  return run(app, definition->code, definition->handler, args, result, failure);
}

bool invoke(void* app, int code, const resbuf* args, resbuf** result, std::string* failure) {
  *result = nullptr;
  failure->clear();
  auto* target = static_cast<acad::apps::App*>(app);
  if (!target || !target->entryPoint) {
    *failure = "no such application";
    return false;
  }
  return run(target, code, nullptr, args, result, failure);
}

std::vector<std::string> takeQueuedExpressions() {
  std::vector<std::string> taken(queued().begin(), queued().end());
  queued().clear();
  return taken;
}

void forgetApplication(const void* app) {
  std::erase_if(definitions(), [&](const Definition& definition) { return definition.owner == app; });
}

}  // namespace acad::lisp_functions

using namespace acad::lisp_functions;

// A name another application holds is refused; the same application may
// define a name again under a new code.
extern "C" int ads_defun(const char* name, short code) {
  if (!name || !*name || code < 0) return RTERROR;
  const void* owner = acad::apps::current();
  if (Definition* existing = findByName(name)) {
    if (existing->owner != owner) return RTERROR;
    existing->code = code;
    existing->handler = nullptr;
    return RTNORM;
  }
  definitions().push_back(Definition{name, owner, code});
  return RTNORM;
}

extern "C" int ads_undef(const char* name, short code) {
  if (!name) return RTERROR;
  Definition* definition = findByName(name);
  if (!definition || definition->owner != acad::apps::current() || definition->code != code) return RTERROR;
  definitions().erase(definitions().begin() + (definition - definitions().data()));
  return RTNORM;
}

extern "C" int ads_regfunc(int (*handler)(void), int code) {
  if (!handler) return RTERROR;
  bool found = false;
  for (Definition& definition : definitions()) {
    if (definition.owner == acad::apps::current() && definition.code == code) {
      definition.handler = handler;
      found = true;
    }
  }
  return found ? RTNORM : RTERROR;
}

extern "C" int ads_getfuncode(void) { return g_call ? g_call->code : RTERROR; }

// The list belongs to the host and lives until the handler returns.
extern "C" resbuf* ads_getargs(void) { return g_call ? g_call->args : nullptr; }

extern "C" int ads_retnil(void) { return setSingle(RTNIL); }
extern "C" int ads_rett(void) { return setSingle(RTT); }
extern "C" int ads_retvoid(void) { return setSingle(RTVOID); }

extern "C" int ads_retlist(const resbuf* list) {
  if (!g_call) return RTERROR;
  resbuf* open = ads_newrb(RTLB);
  resbuf* items = copyList(list);
  resbuf* close = ads_newrb(RTLE);
  if (!open || !close || (list && !items)) {
    ads_relrb(open);
    ads_relrb(items);
    ads_relrb(close);
    return RTERROR;
  }
  resbuf** tail = &open->rbnext;
  *tail = items;
  while (*tail) tail = &(*tail)->rbnext;
  *tail = close;
  return setResult(open);
}

extern "C" int ads_retreal(ads_real value) {
  resbuf* rb = ads_newrb(RTREAL);
  if (rb) rb->resval.rreal = value;
  return setResult(rb);
}

extern "C" int ads_retint(int value) {
  resbuf* rb = ads_newrb(RTSHORT);
  if (rb) rb->resval.rint = static_cast<short>(value);
  return setResult(rb);
}

extern "C" int ads_retstr(const char* text) {
  if (!text) return RTERROR;
  resbuf* rb = ads_newrb(RTSTR);
  if (rb && !(rb->resval.rstring = acad__strdup(text))) {
    ads_relrb(rb);
    rb = nullptr;
  }
  return setResult(rb);
}

extern "C" int ads_retname(const ads_name name, int type) {
  if (!name || (type != RTENAME && type != RTPICKS)) return RTERROR;
  resbuf* rb = ads_newrb(type);
  if (rb) {
    rb->resval.rlname[0] = name[0];
    rb->resval.rlname[1] = name[1];
  }
  return setResult(rb);
}

extern "C" int ads_fail(const char* text) {
  if (!g_call) return RTERROR;
  g_call->failed = true;
  g_call->failure = text ? text : "";
  return RTNORM;
}

extern "C" int ads_queueexpr(const char* expression) {
  if (!expression || !*expression) return RTERROR;
  queued().push_back(expression);
  return RTNORM;
}
