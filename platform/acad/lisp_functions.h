// The AutoLISP function table: functions that applications define with
// ads_defun/ads_regfunc, as the AutoLISP evaluator sees them.
#pragma once
#include <string>
#include <vector>

#include "adsdef.h"

namespace acad::lisp_functions {

// True when an application has defined `name` (compared without regard to case).
bool isDefined(const std::string& name);

// Calls the external function `name` with `args` (a list the caller keeps; it
// is what ads_getargs hands out, null for no arguments). The function's own
// handler runs when it registered one with ads_regfunc, else its application
// receives kInvkSubrMsg. On success `*result` is a new list that the caller
// releases with ads_relrb: one item for a single value (RTNIL when the function
// set no result, RTT, RTSTR, RTREAL ...), or RTLB items RTLE for a list.
// False when the function is unknown or failed (status RSERR, RTERROR, or
// ads_fail called); `*result` is then null and `*failure` holds the ads_fail
// text, or a description of its own (may be empty).
bool call(const char* name, const resbuf* args, resbuf** result, std::string* failure);

// Sends kInvkSubrMsg with function code `code` to the loaded module `app`
// (an acad::apps::App), whether or not it defined that code; results and
// failures as for call(). The host's ARXINVOKE command uses it to probe a
// module's dispatch.
bool invoke(void* app, int code, const resbuf* args, resbuf** result, std::string* failure);

// Expressions queued with ads_queueexpr, oldest first; the queue is emptied.
// The host evaluates them once the current command or load is over.
std::vector<std::string> takeQueuedExpressions();

// The host withdraws everything an application left behind when it goes.
void forgetApplication(const void* app);

}  // namespace acad::lisp_functions
