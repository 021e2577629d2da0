// Finding the tags of a text drawing: a group-code line, then a value line.
// Shared by the reader that builds records as it goes and the one that
// scans ahead on a second thread.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "db/tag_lines.h"

namespace dxf {

// Why a scan ended: the end of the input, a malformed tag, or the sink.
struct ScanStop {
  db::TagProblem problem = db::TagProblem::None;
  int16_t code = 0;       // the group code, when its value is missing
  std::string_view line;  // the offending line
  size_t lineNumber = 0;  // lines read before the stop
};

// Hands each tag from `at` on to `sink(code, value, codeLine, codeStart)`
// until the input ends, a tag is malformed or the sink returns false.
// `lineNumber` counts the lines before `at`.
template <class Sink>
ScanStop scanTags(const char*& at, const char* end, size_t lineNumber, Sink&& sink) {
  ScanStop stop;
  std::string_view value;
  while (at < end) {
    const char* codeStart = at;
    int16_t code = 0;
    db::TagProblem problem = db::readTag(at, end, code, value, stop.line);
    if (problem != db::TagProblem::None) {
      stop.problem = problem;
      stop.code = code;
      break;
    }
    lineNumber += 2;
    if (!sink(code, value, lineNumber - 1, codeStart)) break;
  }
  stop.lineNumber = lineNumber;
  return stop;
}

}  // namespace dxf
