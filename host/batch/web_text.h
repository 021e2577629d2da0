// Text put into a web page: as HTML character data, or as a script's string.
#pragma once
#include <string>
#include <string_view>

// `text` with &, <, >, " and ' as character references.
std::string htmlText(std::string_view text);

// A double-quoted script string literal of `text` that may stand inside a
// <script> element: quotes, backslashes and control characters escaped, and
// every < too, so that no "</script>" or "<!--" can appear in it.
std::string scriptString(std::string_view text);
