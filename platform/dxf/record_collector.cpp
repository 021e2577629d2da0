// Record boundaries and the SECTION ... ENDSEC ... EOF frame of a drawing file.
#include "dxf/record_collector.h"

#include <cstdint>

#include "db/record_build.h"
#include "db/record_tags.h"

namespace dxf {

RecordCollector::RecordCollector(db::Database& database, std::string path, const char* unit, const char* textBase)
    : m_database(database), m_path(std::move(path)), m_unit(unit), m_textBase(textBase),
      m_filter(database, textBase != nullptr) {}

bool RecordCollector::fail(size_t where, const std::string& problem) {
  m_error = m_path + ": " + m_unit + " " + std::to_string(where) + ": " + problem;
  return false;
}

bool RecordCollector::take(int16_t code, std::string_view value, size_t where, const char* codeStart) {
  if (code == 0) {
    if ((!m_views.empty() || !m_owned.empty()) && !closeRecord(codeStart)) return false;
    m_recordWhere = where;
    m_recordStart = codeStart;
    m_filter.startRecord(value);
  }
  if (m_textBase) m_views.push_back({code, value});
  else m_owned.push_back({code, std::string(value)});
  // Nothing after EOF belongs to the drawing (some writers pad the file).
  if (code == 0 && value == "EOF") return closeRecord(nullptr);
  return true;
}

bool RecordCollector::checkFrame(std::string_view type, std::span<const db::TagView> tags) {
  if (type == "SECTION") {
    if (m_inSection) return fail(m_recordWhere, "SECTION inside section " + m_section + " (ENDSEC missing)");
    if (tags.size() < 2 || tags[1].code != 2) return fail(m_recordWhere, "SECTION without a name (group 2)");
    m_inSection = true;
    m_section = tags[1].value;
    m_filter.enterSection(m_section);
  } else if (type == "ENDSEC") {
    if (!m_inSection) return fail(m_recordWhere, "ENDSEC outside a section");
    m_inSection = false;
    m_filter.leaveSection();
  } else if (type == "EOF") {
    if (m_inSection) return fail(m_recordWhere, "section " + m_section + " not closed before EOF");
    m_done = true;
  }
  return true;
}

// `end`: where the next record starts in the text, null when unknown.
bool RecordCollector::closeRecord(const char* end) {
  db::Record record;
  std::vector<db::TagView> ownedViews;
  std::span<const db::TagView> tags = m_views;
  if (!m_textBase) {
    record = db::buildRecord(std::move(m_owned));
    m_owned.clear();
    db::appendViews(*record.stored, ownedViews);
    tags = ownedViews;
  }
  std::string_view type = !tags.empty() && tags[0].code == 0 ? tags[0].value : std::string_view();
  bool inText = m_filter.keepsText();
  if (inText && (!end || static_cast<size_t>(end - m_recordStart) > UINT32_MAX))
    return fail(m_recordWhere, "record too large");
  if (!checkFrame(type, tags)) return false;
  if (inText) {
    db::setIdentity(record, tags);
    record.textOffset = static_cast<uint64_t>(m_recordStart - m_textBase);
    record.textLength = static_cast<uint32_t>(end - m_recordStart);
  } else if (m_textBase) {
    record = db::buildRecord(db::ownedTags(tags));
  }
  m_database.append(std::move(record), tags);
  m_views.clear();
  return true;
}

bool RecordCollector::finish(size_t where) {
  m_database.finishLoading();
  return m_done || fail(where, "unexpected end of file (no EOF)");
}

}  // namespace dxf
