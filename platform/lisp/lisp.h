// The host's AutoLISP: what the command line hands over when a line starts
// with "(" (or "!"), and what the host evaluates from its queue.
#pragma once
#include <string>

namespace lisp {

// Reads and evaluates every expression of the text and writes the last one's
// value to the command line as AutoLISP prints it (nil, T, 1, 0.2, "text",
// (1 0.2 0.0), <Entity name: 7ef5a0>, <Selection set: 1>). "!name" shows the
// value of a symbol. An error writes "; error: <message>" instead and
// returns false; the host goes on either way.
bool evaluateAndPrint(const std::string& text);

}  // namespace lisp
