// Functions that applications define through the host's function table.
#pragma once
#include <string>

#include "adsdef.h"
#include "lisp/interpreter.h"

namespace lisp {

bool isExternal(const std::string& name);

// Calls it with the evaluated arguments; its failure becomes a LispError
// with the text it gave through ads_fail ("ADS request error" without one).
Value callExternal(Interpreter& lisp, const std::string& name, Value args);

// Values to a result-buffer list, as ads_getargs hands them out: lists as
// RTLB ... RTLE, dotted pairs with RTDOTE; the caller releases it.
resbuf* toResbufs(Interpreter& lisp, Value items);

// An association list ((code . value) ...) to group-coded items, as a
// selection filter takes them; the caller releases the list.
resbuf* toGroupCodes(Value pairs);

// A result-buffer list to the values it holds, in order, as a list.
Value fromResbufs(Interpreter& lisp, const resbuf* list);

}  // namespace lisp
