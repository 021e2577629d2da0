// Entry points of the reader.
#include "acis/model.h"

namespace acis {

ParseResult parseSat(std::string_view) {
  ParseResult result;
  result.error = "SAT reading is not available yet";
  return result;
}

ParseResult parseSab(std::span<const uint8_t>) {
  ParseResult result;
  result.error = "SAB reading is not available yet";
  return result;
}

}  // namespace acis
