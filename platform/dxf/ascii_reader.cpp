// Text drawing files: a group-code line, then a value line, to EOF.
#include "db/tag_lines.h"
#include "dxf/readers.h"

namespace dxf {
namespace {

std::string quoted(std::string_view text) {
  std::string out = "\"";
  out.append(text.substr(0, 40));
  out.append(text.size() > 40 ? "...\"" : "\"");
  return out;
}

}  // namespace

std::string valueProblem(int code, std::string_view value) {
  if (acdb_detail::valueFits(code, value)) return {};
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
  std::string_view value, line;
  while (!collector.done() && at < end) {
    const char* codeStart = at;
    int16_t code = 0;
    switch (acdb_detail::readTag(at, end, code, value, line)) {
      case acdb_detail::TagProblem::None: break;
      case acdb_detail::TagProblem::BadCode: return collector.fail(lineNumber + 1, "invalid group code " + quoted(line));
      case acdb_detail::TagProblem::NoValue:
        return collector.fail(lineNumber + 1, "unexpected end of file after group code " + std::to_string(code));
      case acdb_detail::TagProblem::BadValue: return collector.fail(lineNumber + 2, valueProblem(code, line));
    }
    lineNumber += 2;
    if (!collector.add(code, value, lineNumber - 1, codeStart)) return false;
    if (at >= nextProgress && progress) {
      progress(static_cast<size_t>(codeStart - data.data()));
      nextProgress = at + kProgressStep;
    }
  }
  return collector.finish(lineNumber);
}

}  // namespace dxf
