// The topology of a tokenized payload, from its bodies down to the points,
// into one resolved Body. Every pointer is checked for its range and the
// type of what it names; a damaged face is marked unsupported alone.
#pragma once
#include "acis/tokens.h"

namespace acis::detail {

acis::ParseResult buildBody(const RawModel& model);

}  // namespace acis::detail
