// Record boundaries and the SECTION ... ENDSEC ... EOF frame of a drawing file.
#include "dxf/record_collector.h"

#include "db/record_build.h"

namespace dxf {

RecordCollector::RecordCollector(std::string path, const char* unit) : m_path(std::move(path)), m_unit(unit) {}

bool RecordCollector::fail(size_t where, const std::string& problem) {
  m_error = m_path + ": " + m_unit + " " + std::to_string(where) + ": " + problem;
  return false;
}

bool RecordCollector::add(int16_t code, std::string_view value, size_t where) {
  if (code == 0) {
    if (!m_tags.empty() && !closeRecord()) return false;
    m_recordWhere = where;
    // Drawings run in long stretches of one kind of entity: expect the last size.
    m_tags.reserve(m_lastSize);
  }
  m_tags.push_back({code, std::string(value)});
  // Nothing after EOF belongs to the drawing (some writers pad the file).
  if (code == 0 && value == "EOF") return closeRecord();
  return true;
}

bool RecordCollector::closeRecord() {
  std::vector<acdb_detail::Tag> tags = std::move(m_tags);
  m_tags.clear();
  m_lastSize = tags.size();
  const std::string type = tags[0].code == 0 ? tags[0].value : std::string();
  if (type == "SECTION") {
    if (m_inSection) return fail(m_recordWhere, "SECTION inside section " + m_section + " (ENDSEC missing)");
    if (tags.size() < 2 || tags[1].code != 2) return fail(m_recordWhere, "SECTION without a name (group 2)");
    m_inSection = true;
    m_section = tags[1].value;
  } else if (type == "ENDSEC") {
    if (!m_inSection) return fail(m_recordWhere, "ENDSEC outside a section");
    m_inSection = false;
  } else if (type == "EOF") {
    if (m_inSection) return fail(m_recordWhere, "section " + m_section + " not closed before EOF");
    m_done = true;
  }
  m_records.push_back(acdb_detail::buildRecord(std::move(tags)));
  return true;
}

bool RecordCollector::finish(size_t where) {
  return m_done || fail(where, "unexpected end of file (no EOF)");
}

}  // namespace dxf
