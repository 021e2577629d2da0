// Groups the tags a reader finds into records, one per group 0, and checks
// the section structure around them.
#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/record.h"

namespace dxf {

class RecordCollector {
 public:
  // `path` and `unit` ("line" or "byte") go into error messages.
  RecordCollector(std::string path, const char* unit);

  // Takes one tag found at `where`; false (see error()) when it breaks the
  // file's structure.
  bool add(int16_t code, std::string_view value, size_t where);
  // True once the EOF record has been taken: the reader stops there.
  bool done() const { return m_done; }
  // The input has ended at `where`; false when the drawing is incomplete.
  bool finish(size_t where);

  // Records an error at `where` and returns false.
  bool fail(size_t where, const std::string& problem);
  const std::string& error() const { return m_error; }
  std::vector<std::unique_ptr<acdb_detail::Record>> take() { return std::move(m_records); }

 private:
  bool closeRecord();

  std::string m_path;
  const char* m_unit;
  std::vector<acdb_detail::Tag> m_tags;
  size_t m_recordWhere = 0;
  size_t m_lastSize = 16;
  std::vector<std::unique_ptr<acdb_detail::Record>> m_records;
  std::string m_section;
  bool m_inSection = false;
  bool m_done = false;
  std::string m_error;
};

}  // namespace dxf
