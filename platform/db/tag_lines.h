// One tag of a text drawing file: a group-code line, then a value line. The
// reader checks a file with it, and records kept in the file's text are read
// back with it, so both agree on every byte.
#pragma once
#include <cstdint>
#include <cstring>
#include <string_view>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "db/group_codes.h"
#include "db/number_text.h"

namespace db {

// The line ends among the 64 bytes from `at`, a bit each: most lines are a
// few bytes long, and one mask serves several of them.
inline uint64_t lineEndsIn64(const char* at) {
#ifdef __SSE2__
  const __m128i newline = _mm_set1_epi8('\n');
  auto endsIn16 = [&](int i) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * i));
    return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, newline))));
  };
  return endsIn16(0) | endsIn16(1) << 16 | endsIn16(2) << 32 | endsIn16(3) << 48;
#else
  uint64_t ends = 0;
  for (int i = 0; i < 64; ++i)
    if (at[i] == '\n') ends |= uint64_t(1) << i;
  return ends;
#endif
}

// One line without its line end; `next` is where the following line starts.
// False when there is no line left.
inline bool takeLine(const char* at, const char* end, std::string_view& line, const char*& next) {
  if (at >= end) return false;
  // Most lines are short (names, handles): their first 16 bytes are looked
  // at directly before memchr.
  const char* found = nullptr;
  const char* shortEnd = end - at > 16 ? at + 16 : end;
#ifdef __SSE2__
  if (shortEnd == at + 16) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))));
    if (mask) found = at + __builtin_ctz(mask);
  } else
#endif
    for (const char* p = at; p < shortEnd; ++p)
      if (*p == '\n') {
        found = p;
        break;
      }
  if (!found && shortEnd < end)
    found = static_cast<const char*>(std::memchr(shortEnd, '\n', static_cast<size_t>(end - shortEnd)));
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
#ifdef __SSE2__
  // Numbers make most of a drawing: their digits are found 16 at a time.
  while (end - p >= 16) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('0' - 1)),
                                  _mm_cmplt_epi8(bytes, _mm_set1_epi8('9' + 1)));
    unsigned digits = static_cast<unsigned>(_mm_movemask_epi8(digit));
    if (digits != 0xFFFF) return p + __builtin_ctz(~digits);
    p += 16;
  }
#endif
  while (p < end && *p >= '0' && *p <= '9') ++p;
  return p;
}

// The common shapes of numbers, read without looking for the line end
// first: a plain decimal for a real, a plain whole number for an integer.
// False sends the line to the general path.
inline bool plainValue(ValueKind kind, const char* at, const char* end, std::string_view& value, const char*& next) {
  const char* p = at;
  if (p < end && *p == '-') ++p;
  const char* digits = p;
  p = skipDigits(p, end);
  size_t leading = static_cast<size_t>(p - digits);
  if (kind == ValueKind::Double) {
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

// A group-code line: digits padded with spaces before (and blanks after).
inline bool parseCode(std::string_view line, int16_t& code) {
  size_t i = 0;
  while (i < line.size() && line[i] == ' ') ++i;
  int value = 0;
  size_t digits = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9' && digits < 5; ++i, ++digits)
    value = value * 10 + (line[i] - '0');
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (digits == 0 || i != line.size() || !validGroupCode(value)) return false;
  code = static_cast<int16_t>(value);
  return true;
}

// What the first two of three code columns stand for: their hundreds and
// tens ("  ", " d" or "dd"), or -1 when no code starts so.
struct LeadingColumns {
  static constexpr uint8_t kSpace = 10, kOther = 11;
  uint8_t kinds[256];     // a byte's digit, kSpace or kOther
  int16_t value[12][12];  // by the kinds of the two bytes
  constexpr LeadingColumns() : kinds(), value() {
    for (int byte = 0; byte < 256; ++byte)
      kinds[byte] = byte >= '0' && byte <= '9' ? static_cast<uint8_t>(byte - '0') : byte == ' ' ? kSpace : kOther;
    for (int first = 0; first < 12; ++first)
      for (int second = 0; second < 12; ++second) {
        int16_t lead = -1;
        if (first == kSpace && second == kSpace) lead = 0;
        if (first == kSpace && second < 10) lead = static_cast<int16_t>(second * 10);
        if (first < 10 && second < 10) lead = static_cast<int16_t>(first * 100 + second * 10);
        value[first][second] = lead;
      }
  }
};
inline constexpr LeadingColumns kLeadingColumns;

// The code line at `at` in its usual shape (padding, digits, line end);
// false sends it to parseCode.
// Most writers pad codes below 1000 to three columns: "  0", " 10", "330".
// The three bytes at `at`, when they are such a code. Codes of one, two and
// three digits follow each other in every record: looked up, not told apart
// by branches that would be mispredicted.
inline bool threeColumnCode(const char* at, int16_t& code) {
  const int16_t lead = kLeadingColumns.value[kLeadingColumns.kinds[static_cast<uint8_t>(at[0])]]
                                            [kLeadingColumns.kinds[static_cast<uint8_t>(at[1])]];
  const unsigned last = static_cast<unsigned char>(at[2] - '0');
  if (lead < 0 || last > 9) return false;
  code = static_cast<int16_t>(lead + static_cast<int16_t>(last));
  return true;
}

inline bool plainCode(const char* at, const char* end, int16_t& code, const char*& next) {
  if (end - at >= 4 && at[3] == '\n' && threeColumnCode(at, code)) {
    next = at + 4;
    return true;
  }
  const char* p = at;
  while (p < end && *p == ' ') ++p;
  const char* digits = p;
  int value = 0;
  for (; p < end && *p >= '0' && *p <= '9' && p - digits < 5; ++p) value = value * 10 + (*p - '0');
  if (p == digits || !atLineEnd(p, end, next) || !validGroupCode(value)) return false;
  code = static_cast<int16_t>(value);
  return true;
}

inline bool valueFits(int code, std::string_view value) {
  int64_t integer = 0;
  switch (valueKind(code)) {
    case ValueKind::Double: return isRealText(value);
    case ValueKind::String:
    case ValueKind::Binary: return true;
    default: return parseInteger(value, integer);
  }
}

enum class TagProblem { None, BadCode, NoValue, BadValue };

// A tag of checked text whose two lines end within 16 bytes, as most do
// (" 10\n1.5\n", "  8\nWALLS\n"): both line ends come from one load; a
// longer value ("100\nAcDbPolyFaceMeshVertex\n") ends in the next 16. The
// code stands in three columns. The text runs from `begin` to `end`: a tag
// near its end is looked at in the last 16 bytes of the text. False leaves
// the tag to readTag.
inline bool readShortTag(const char*& at, const char* begin, const char* end, int16_t& code, std::string_view& value) {
#ifdef __SSE2__
  const __m128i lineEnd = _mm_set1_epi8('\n');
  unsigned lineEnds = 0;
  if (end - at >= 16) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    lineEnds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineEnd)));
  } else if (end - begin >= 16) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16));
    lineEnds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineEnd))) >> (16 - (end - at));
  }
  if ((lineEnds & 0xF) != 0x8 || !threeColumnCode(at, code)) return false;
  const char* valueStart = at + 4;
  const char* stop = nullptr;
  if (lineEnds >> 4) {
    stop = valueStart + __builtin_ctz(lineEnds >> 4);
  } else {
    if (end - at < 32) return false;
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16));
    unsigned laterEnds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineEnd)));
    if (!laterEnds) return false;
    stop = at + 16 + __builtin_ctz(laterEnds);
  }
  at = stop + 1;
  if (stop > valueStart && stop[-1] == '\r') --stop;
  value = std::string_view(valueStart, static_cast<size_t>(stop - valueStart));
  return true;
#else
  (void)at, (void)begin, (void)end, (void)code, (void)value;
  return false;
#endif
}

// Reads the tag at `at` and moves `at` past it. On a problem, `line` is the
// offending line (the code line, or the value line). Text read back from a
// drawing was checked when the drawing was read: its values need no second
// check (kCheckValue false), and whoever uses a value parses it anyway.
template <bool kCheckValue = true>
inline TagProblem readTag(const char*& at, const char* end, int16_t& code, std::string_view& value,
                          std::string_view& line) {
  const char* next = nullptr;
  if (!plainCode(at, end, code, next)) {
    takeLine(at, end, line, next);
    if (!parseCode(line, code)) return TagProblem::BadCode;
  }
  at = next;
  if (at >= end) return TagProblem::NoValue;
  if constexpr (!kCheckValue) {
    takeLine(at, end, value, next);
    at = next;
    return TagProblem::None;
  }
  ValueKind kind = valueKind(code);
  bool numeric = kind != ValueKind::String && kind != ValueKind::Binary;
  if (!numeric || !plainValue(kind, at, end, value, next)) {
    takeLine(at, end, value, next);
    if (numeric && !valueFits(code, value)) {
      line = value;
      return TagProblem::BadValue;
    }
  }
  at = next;
  return TagProblem::None;
}

}  // namespace db
