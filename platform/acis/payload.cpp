#include "acis/payload.h"

namespace acis {

void appendSatGroup(std::string_view value, bool newLine, bool caretEscaped, std::string& sat) {
  if (newLine && !sat.empty()) sat += '\n';
  for (size_t i = 0; i < value.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(value[i]);
    if (c == ' ') {
      sat += ' ';
      continue;
    }
    if (caretEscaped && c == '^' && i + 1 < value.size() && value[i + 1] == ' ') ++i;
    sat += static_cast<char>(159 - c);
  }
}

ParseResult parsePayload(const Payload& payload) {
  if (!payload.sat.empty()) return parseSat(payload.sat);
  return parseSab(payload.sab);
}

}  // namespace acis
