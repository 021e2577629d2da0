// AutoLISP text to values.
#pragma once
#include <string>
#include <vector>

#include "lisp/interpreter.h"

namespace lisp {

// Deepest list nesting the reader accepts; deeper input is refused before
// anything is evaluated, which also bounds the evaluator's recursion.
constexpr int kMaxNesting = 512;

// Every expression of the text, in order. Throws LispError on malformed
// input: "malformed list on input", "malformed string on input",
// "extra right paren on input", "nesting too deep on input".
std::vector<Value> readAll(Interpreter& lisp, const std::string& text);

}  // namespace lisp
