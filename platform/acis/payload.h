// An entity's ACIS data as a drawing keeps it: SAT text in the entity's own
// groups (R13 to R2010), or SAB bytes in the drawing's data section (R2013
// on).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "acis/model.h"

namespace acis {

struct Payload {
  std::string sat;           // de-substituted text, when the entity holds it
  std::vector<uint8_t> sab;  // else the bytes
};

// One group 1 (a new line) or group 3 (the line continued) value of the SAT
// text: every character but the space is stored as 159 - c. A text drawing
// file also writes the caret that this gives for 'A' as "^ " (`caretEscaped`).
void appendSatGroup(std::string_view value, bool newLine, bool caretEscaped, std::string& sat);

// Whichever form the payload holds.
ParseResult parsePayload(const Payload& payload);

}  // namespace acis
