// Text drawing files: a group-code line, then a value line, to EOF.
#include <cstring>

#include "db/group_codes.h"
#include "db/number_text.h"
#include "dxf/readers.h"

namespace dxf {
namespace {

// One line without its line end; `next` is where the following line starts.
// False when there is no line left.
inline bool takeLine(const char* at, const char* end, std::string_view& line, const char*& next) {
  if (at >= end) return false;
  const char* found = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
  const char* stop = found ? found : end;
  next = found ? found + 1 : end;
  if (stop > at && stop[-1] == '\r') --stop;
  line = std::string_view(at, static_cast<size_t>(stop - at));
  return true;
}

// Group codes are short digit runs padded with spaces; this path is hot.
inline bool parseCode(std::string_view line, int16_t& code) {
  size_t i = 0;
  while (i < line.size() && line[i] == ' ') ++i;
  int value = 0;
  size_t digits = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9' && digits < 5; ++i, ++digits)
    value = value * 10 + (line[i] - '0');
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (digits == 0 || i != line.size() || !acdb_detail::validGroupCode(value)) return false;
  code = static_cast<int16_t>(value);
  return true;
}

inline bool valueFits(int code, std::string_view value) {
  int64_t integer = 0;
  switch (acdb_detail::valueKind(code)) {
    case acdb_detail::ValueKind::Double: return acdb_detail::isRealText(value);
    case acdb_detail::ValueKind::String:
    case acdb_detail::ValueKind::Binary: return true;
    default: return acdb_detail::parseInteger(value, integer);
  }
}

std::string quoted(std::string_view text) {
  std::string out = "\"";
  out.append(text.substr(0, 40));
  out.append(text.size() > 40 ? "...\"" : "\"");
  return out;
}

}  // namespace

std::string valueProblem(int code, std::string_view value) {
  if (valueFits(code, value)) return {};
  const char* kind = acdb_detail::valueKind(code) == acdb_detail::ValueKind::Double ? "number" : "integer";
  return std::string("invalid ") + kind + " " + quoted(value) + " for group code " + std::to_string(code);
}

bool readAscii(std::string_view data, RecordCollector& collector, const ReadProgress& progress) {
  const char* at = data.data();
  const char* end = at + data.size();
  if (data.substr(0, 3) == "\xEF\xBB\xBF") at += 3;
  constexpr size_t kProgressStep = 16 << 20;
  const char* nextProgress = at + kProgressStep;
  size_t lineNumber = 0;
  std::string_view codeLine, valueLine;
  const char* next = nullptr;
  while (!collector.done() && takeLine(at, end, codeLine, next)) {
    const char* codeStart = at;
    at = next;
    ++lineNumber;
    int16_t code = 0;
    if (!parseCode(codeLine, code)) return collector.fail(lineNumber, "invalid group code " + quoted(codeLine));
    if (!takeLine(at, end, valueLine, next))
      return collector.fail(lineNumber, "unexpected end of file after group code " + std::to_string(code));
    at = next;
    ++lineNumber;
    if (!valueFits(code, valueLine)) return collector.fail(lineNumber, valueProblem(code, valueLine));
    if (!collector.add(code, valueLine, lineNumber - 1, codeStart)) return false;
    if (at >= nextProgress && progress) {
      progress(static_cast<size_t>(codeStart - data.data()));
      nextProgress = at + kProgressStep;
    }
  }
  return collector.finish(lineNumber);
}

}  // namespace dxf
