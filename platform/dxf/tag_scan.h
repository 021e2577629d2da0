// Finding the tags of a text drawing: a group-code line, then a value line.
// Shared by the reader that builds records as it goes and the one that
// scans ahead on a second thread.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "db/tag_lines.h"
#include "dxf/line_ends.h"

namespace dxf {

// Why a scan ended: the end of the input, a malformed tag, or the sink.
struct ScanStop {
  db::TagProblem problem = db::TagProblem::None;
  int16_t code = 0;       // the group code, when its value is missing
  std::string_view line;  // the offending line
  size_t lineNumber = 0;  // lines read before the stop
};

// Whether `value`, which some text runs on after up to `end`, is a number in
// the shape most values have: a plain decimal of up to 16 characters for a
// real ("-0.5", "12."), plain digits for an integer. Such a value is one the
// full check (db::valueFits) takes too; false leaves the value to it.
inline bool plainNumber(db::ValueKind kind, std::string_view value, const char* end) {
#ifdef __SSE2__
  if (value.empty() || value.size() > 16 || end - value.data() < 16) return false;
  __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(value.data()));
  auto mask = [](__m128i match) { return static_cast<unsigned>(_mm_movemask_epi8(match)); };
  const unsigned inValue = 0xFFFFu >> (16 - value.size());
  const unsigned digits = mask(_mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('0' - 1)),
                                             _mm_cmplt_epi8(bytes, _mm_set1_epi8('9' + 1)))) &
                          inValue;
  const unsigned points = mask(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('.'))) & inValue;
  const unsigned sign = mask(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('-'))) & 1u;
  if (digits == 0 || (digits | points | sign) != inValue) return false;
  return kind == db::ValueKind::Double ? (points & (points - 1)) == 0 : points == 0;
#else
  (void)kind, (void)value, (void)end;
  return false;
#endif
}

// Hands each tag from `at` on to `sink(code, value, codeLine, codeStart)`
// until the input ends, a tag is malformed or the sink returns false.
// `lineNumber` counts the lines before `at`. A line ends at '\n', less a
// '\r' before it; the last may end at the end of the input.
template <class Sink>
ScanStop scanTags(const char*& at, const char* end, size_t lineNumber, Sink&& sink) {
  ScanStop stop;
  LineEnds lineEnds(at, end);
  while (at < end) {
    const char* codeStart = at;
    const char* codeEnd = lineEnds.next();
    int16_t code = 0;
    db::ValueKind kind;
    // Most writers pad codes to three columns (" 10"), which are always
    // valid codes; the rest are parsed.
    if (codeEnd - at == 3 && db::threeColumnCode(at, code)) {
      kind = db::kValueKinds.kinds[code];
    } else {
      stop.line = lineBetween(at, codeEnd);
      if (!db::parseCode(stop.line, code)) {
        stop.problem = db::TagProblem::BadCode;
        break;
      }
      kind = db::valueKind(code);
    }
    at = codeEnd < end ? codeEnd + 1 : end;
    if (at == end) {
      stop.problem = db::TagProblem::NoValue;
      stop.code = code;
      break;
    }
    const char* valueEnd = lineEnds.next();
    std::string_view value = lineBetween(at, valueEnd);
    at = valueEnd < end ? valueEnd + 1 : end;
    if (kind != db::ValueKind::String && kind != db::ValueKind::Binary && !plainNumber(kind, value, end) &&
        !db::valueFits(code, value)) {
      stop.problem = db::TagProblem::BadValue;
      stop.code = code;
      stop.line = value;
      break;
    }
    lineNumber += 2;
    if (!sink(code, value, lineNumber - 1, codeStart)) break;
  }
  stop.lineNumber = lineNumber;
  return stop;
}

}  // namespace dxf
