// Text drawing files: codes right-aligned in three columns, values as stored.
#include <charconv>

#include "db/record_build.h"
#include "dxf/writers.h"

namespace dxf {

void writeAscii(const acdb_detail::Database& database, FileOutput& out) {
  const std::string_view lineEnd = database.crlf() ? "\r\n" : "\n";
  for (const auto& record : database.records()) {
    acdb_detail::forEachTag(*record, [&](int16_t code, const std::string& value) {
      char digits[8];
      auto [end, ec] = std::to_chars(digits, digits + sizeof digits, code);
      for (auto width = end - digits; width < 3; ++width) out.put(' ');
      out.put(std::string_view(digits, static_cast<size_t>(end - digits)));
      out.put(lineEnd);
      out.put(value);
      out.put(lineEnd);
    });
  }
}

}  // namespace dxf
