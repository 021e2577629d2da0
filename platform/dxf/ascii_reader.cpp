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

// True when `p` is at a line end; `next` is then where the following line starts.
inline bool atLineEnd(const char* p, const char* end, const char*& next) {
  if (p == end) {
    next = end;
    return true;
  }
  if (*p == '\n') {
    next = p + 1;
    return true;
  }
  if (*p == '\r' && (p + 1 == end || p[1] == '\n')) {
    next = p + 1 == end ? end : p + 2;
    return true;
  }
  return false;
}

inline const char* skipDigits(const char* p, const char* end) {
  while (p < end && *p >= '0' && *p <= '9') ++p;
  return p;
}

// The common shapes of numbers, read without looking for the line end
// first: a plain decimal for a real, a plain whole number for an integer.
// False sends the line to the general path.
inline bool plainValue(acdb_detail::ValueKind kind, const char* at, const char* end, std::string_view& value,
                       const char*& next) {
  const char* p = at;
  if (p < end && *p == '-') ++p;
  const char* digits = p;
  p = skipDigits(p, end);
  size_t leading = static_cast<size_t>(p - digits);
  if (kind == acdb_detail::ValueKind::Double) {
    size_t fraction = 0;
    if (p < end && *p == '.') {
      const char* after = skipDigits(p + 1, end);
      fraction = static_cast<size_t>(after - p - 1);
      p = after;
    }
    if (leading + fraction == 0 || leading >= 300) return false;
  } else if (leading == 0 || leading > 18) {
    return false;
  }
  if (!atLineEnd(p, end, next)) return false;
  value = std::string_view(at, static_cast<size_t>(p - at));
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

// The code line at `at` in its usual shape (padding, digits, line end);
// false sends it to the general path.
inline bool plainCode(const char* at, const char* end, int16_t& code, const char*& next) {
  const char* p = at;
  while (p < end && *p == ' ') ++p;
  const char* digits = p;
  int value = 0;
  for (; p < end && *p >= '0' && *p <= '9' && p - digits < 5; ++p) value = value * 10 + (*p - '0');
  if (p == digits || !atLineEnd(p, end, next) || !acdb_detail::validGroupCode(value)) return false;
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
  std::string_view codeLine, value;
  const char* next = nullptr;
  while (!collector.done() && at < end) {
    const char* codeStart = at;
    ++lineNumber;
    int16_t code = 0;
    if (!plainCode(at, end, code, next)) {
      takeLine(at, end, codeLine, next);
      if (!parseCode(codeLine, code)) return collector.fail(lineNumber, "invalid group code " + quoted(codeLine));
    }
    at = next;
    if (at >= end)
      return collector.fail(lineNumber, "unexpected end of file after group code " + std::to_string(code));
    ++lineNumber;
    acdb_detail::ValueKind kind = acdb_detail::valueKind(code);
    bool numeric = kind != acdb_detail::ValueKind::String && kind != acdb_detail::ValueKind::Binary;
    if (!numeric || !plainValue(kind, at, end, value, next)) {
      takeLine(at, end, value, next);
      if (numeric && !valueFits(code, value)) return collector.fail(lineNumber, valueProblem(code, value));
    }
    at = next;
    if (!collector.add(code, value, lineNumber - 1, codeStart)) return false;
    if (at >= nextProgress && progress) {
      progress(static_cast<size_t>(codeStart - data.data()));
      nextProgress = at + kProgressStep;
    }
  }
  return collector.finish(lineNumber);
}

}  // namespace dxf
