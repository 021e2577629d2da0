// Text drawing files: records that still sit in the file they were read from
// are copied from it byte for byte; the others are written from their tags,
// codes right-aligned in three columns.
#include <algorithm>
#include <charconv>

#include "db/record_tags.h"
#include "dxf/writers.h"

namespace dxf {
namespace {

// Consecutive stretches of the original file, copied in large pieces.
class TextCopy {
 public:
  TextCopy(const db::Database& database, FileOutput& out) : m_database(database), m_out(out) {}

  bool add(uint64_t offset, uint32_t length) {
    if (m_start == m_end || offset != m_end) {
      if (!flush()) return false;
      m_start = m_end = offset;
    }
    m_end += length;
    return true;
  }
  bool flush() {
    constexpr uint64_t kPiece = 4 << 20;
    while (m_start < m_end) {
      size_t length = static_cast<size_t>(std::min(kPiece, m_end - m_start));
      if (!m_database.readText(m_start, length, m_piece)) return false;
      m_out.put(m_piece);
      m_start += length;
    }
    return true;
  }

 private:
  const db::Database& m_database;
  FileOutput& m_out;
  uint64_t m_start = 0, m_end = 0;
  std::string m_piece;
};

void putTag(FileOutput& out, int16_t code, std::string_view value, std::string_view lineEnd) {
  char digits[8];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, code);
  for (auto width = end - digits; width < 3; ++width) out.put(' ');
  out.put(std::string_view(digits, static_cast<size_t>(end - digits)));
  out.put(lineEnd);
  out.put(value);
  // The reader takes one CR before a line end as part of it: a value that
  // ends in CR keeps it only when a whole CRLF follows.
  out.put(value.ends_with('\r') ? "\r\n" : lineEnd);
}

}  // namespace

support::Status writeAscii(const db::Database& database, FileOutput& out) {
  const std::string_view lineEnd = database.crlf() ? "\r\n" : "\n";
  TextCopy copy(database, out);
  bool ok = !database.text() || database.text()->unchanged();
  for (const auto& record : database.records()) {
    if (!ok) break;
    if (record->inText()) {
      ok = copy.add(record->textOffset, record->textLength);
    } else if ((ok = copy.flush())) {
      db::RecordTags tags(*record);
      for (const db::TagView& tag : tags.all()) putTag(out, tag.code, tag.value, lineEnd);
    }
  }
  if (ok && copy.flush()) return {};
  return support::Status::failure("the drawing's original file " + database.path() +
                                  " has changed since it was opened");
}

}  // namespace dxf
