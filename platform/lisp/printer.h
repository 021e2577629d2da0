// Values to text as AutoLISP shows them.
#pragma once
#include <string>

#include "lisp/cell.h"

namespace lisp {

// `quoted` gives prin1's form (strings in quotes with escapes), otherwise
// princ's (strings as they are).
std::string toText(Value value, bool quoted);

// A real as AutoLISP prints it: six significant digits, always with a point.
std::string realText(double value);

}  // namespace lisp
