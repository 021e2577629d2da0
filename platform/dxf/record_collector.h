// Groups the tags a reader finds into records, one per group 0, checks the
// section structure around them and hands each record to the database.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "db/database.h"
#include "dxf/tag_filter.h"

namespace dxf {

class RecordCollector {
 public:
  // `path` and `unit` ("line" or "byte") go into error messages. With a
  // `textBase` (the first byte of a text file), the values given to add()
  // must stay in that text, and the records of the ENTITIES, BLOCKS and
  // OBJECTS sections keep their tags there instead of in memory. Set up the
  // database's load watcher first.
  RecordCollector(db::Database& database, std::string path, const char* unit, const char* textBase = nullptr);

  // Takes one tag found at `where` (in a text file its code line starts at
  // `codeStart`); false (see error()) when it breaks the file's structure.
  // Always inline: it runs for every tag, and as a call through the
  // library's symbol table it cost a tenth of the reading.
  [[gnu::always_inline]] bool add(int16_t code, std::string_view value, size_t where, const char* codeStart = nullptr) {
    // Within a record of a text file a tag needs only a place; most tags of
    // a record left in the text are not wanted and passed over here, for
    // they are the most of a large drawing.
    if (code == 0 || !m_textBase) return take(code, value, where, codeStart);
    if (m_filter.takes(code)) m_views.push_back({code, value});
    return true;
  }
  // What add() passes over, for a reader that may drop those tags first.
  const TagFilter& filter() const { return m_filter; }
  // True once the EOF record has been taken: the reader stops there.
  bool done() const { return m_done; }
  // The input has ended at `where`; false when the drawing is incomplete.
  bool finish(size_t where);

  // Records an error at `where` and returns false.
  bool fail(size_t where, const std::string& problem);
  const std::string& error() const { return m_error; }

 private:
  bool take(int16_t code, std::string_view value, size_t where, const char* codeStart);
  bool closeRecord(const char* end);
  bool checkFrame(std::string_view type, std::span<const db::TagView> tags);

  db::Database& m_database;
  std::string m_path;
  const char* m_unit;
  const char* m_textBase;
  std::vector<db::TagView> m_views;  // the open record's tags, in the text
  std::vector<db::Tag> m_owned;      // or copied, when there is no text to keep
  const char* m_recordStart = nullptr;
  TagFilter m_filter;  // whether the open record stays in the text, and which of its tags are taken
  size_t m_recordWhere = 0;
  std::string m_section;
  bool m_inSection = false;
  bool m_done = false;
  std::string m_error;
};

}  // namespace dxf
