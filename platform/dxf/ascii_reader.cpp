// Text drawing files: a group-code line, then a value line, to EOF.
#include <cstring>

#include "db/group_codes.h"
#include "db/number_text.h"
#include "dxf/readers.h"

namespace dxf {
namespace {

// The next line without its line end; false at the end of the data.
bool nextLine(std::string_view data, size_t& pos, std::string_view& line) {
  if (pos >= data.size()) return false;
  const char* start = data.data() + pos;
  const void* found = std::memchr(start, '\n', data.size() - pos);
  size_t end = found ? static_cast<size_t>(static_cast<const char*>(found) - data.data()) : data.size();
  line = std::string_view(start, end - pos);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  pos = end + 1;
  return true;
}

// Group codes are short digit runs padded with spaces; this path is hot.
bool parseCode(std::string_view line, int16_t& code) {
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

std::string quoted(std::string_view text) {
  std::string out = "\"";
  out.append(text.substr(0, 40));
  out.append(text.size() > 40 ? "...\"" : "\"");
  return out;
}

}  // namespace

std::string valueProblem(int code, std::string_view value) {
  int64_t integer = 0;
  switch (acdb_detail::valueKind(code)) {
    case acdb_detail::ValueKind::Double:
      if (!acdb_detail::isRealText(value))
        return "invalid number " + quoted(value) + " for group code " + std::to_string(code);
      return {};
    case acdb_detail::ValueKind::Int16:
    case acdb_detail::ValueKind::Int32:
    case acdb_detail::ValueKind::Int64:
    case acdb_detail::ValueKind::Bool:
      if (!acdb_detail::parseInteger(value, integer))
        return "invalid integer " + quoted(value) + " for group code " + std::to_string(code);
      return {};
    case acdb_detail::ValueKind::String:
    case acdb_detail::ValueKind::Binary: return {};
  }
  return {};
}

bool readAscii(std::string_view data, RecordCollector& collector) {
  if (data.substr(0, 3) == "\xEF\xBB\xBF") data.remove_prefix(3);
  size_t pos = 0;
  size_t lineNumber = 0;
  std::string_view codeLine, valueLine;
  while (!collector.done() && nextLine(data, pos, codeLine)) {
    ++lineNumber;
    int16_t code = 0;
    if (!parseCode(codeLine, code)) return collector.fail(lineNumber, "invalid group code " + quoted(codeLine));
    if (!nextLine(data, pos, valueLine))
      return collector.fail(lineNumber, "unexpected end of file after group code " + std::to_string(code));
    ++lineNumber;
    std::string problem = valueProblem(code, valueLine);
    if (!problem.empty()) return collector.fail(lineNumber, problem);
    if (!collector.add(code, valueLine, lineNumber - 1)) return false;
  }
  return collector.finish(lineNumber);
}

}  // namespace dxf
