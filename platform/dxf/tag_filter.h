// Which tags of a text drawing the record collector passes over: in the
// records it leaves in the text, the codes neither the database nor its load
// watcher asked for. Most tags of a large drawing are such; the thread that
// scans ahead drops them before they are handed on.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "db/database.h"

namespace dxf {

class TagFilter {
 public:
  // What `database` and its load watcher want; without a text to leave
  // records in (`inText` false) every tag is taken.
  TagFilter(const db::Database& database, bool inText) : m_inText(inText) {
    for (std::span<const int16_t> codes :
         {std::span<const int16_t>(db::Database::kIndexedCodes), database.watcherCodes()})
      for (int16_t code : codes) m_takes[0][static_cast<uint16_t>(code)] = true;
    std::fill(std::begin(m_takes[1]), std::end(m_takes[1]), true);
    for (size_t i = 0; i < kSections; ++i) m_allTagsIn[i] = database.wantsAllTags(kSectionNames[i]);
  }

  // The records from here on lie in the section `name`, or in none.
  void enterSection(std::string_view name) {
    m_section = kSections;
    for (size_t i = 0; i < kSections; ++i)
      if (name == kSectionNames[i]) m_section = i;
  }
  void leaveSection() { m_section = kSections; }
  // A record of `type` starts.
  void startRecord(std::string_view type) {
    m_keepText = m_inText && m_section < kSections && !isFrame(type);
    m_takesAll = !m_keepText || m_allTagsIn[m_section];
  }
  // Whether the open record stays in the text.
  bool keepsText() const { return m_keepText; }
  // Whether the collector takes a tag of the open record other than its group 0.
  bool takes(int16_t code) const {
    return static_cast<uint16_t>(code) >= kCodes || m_takes[m_takesAll][static_cast<uint16_t>(code)];
  }

 private:
  static constexpr size_t kSections = 3;
  static constexpr std::string_view kSectionNames[kSections] = {"ENTITIES", "BLOCKS", "OBJECTS"};
  static constexpr size_t kCodes = 1072;
  // The records that frame the sections. Every record asks: most differ in
  // their first letter.
  static bool isFrame(std::string_view type) {
    switch (type.empty() ? '\0' : type[0]) {
      case 'S': return type == "SECTION";
      case 'E': return type == "ENDSEC" || type == "EOF";
      default: return false;
    }
  }

  bool m_inText;
  // Per code, asked once: takes() runs for every tag. The second row is for
  // records whose tags are all taken.
  bool m_takes[2][kCodes] = {};
  bool m_allTagsIn[kSections] = {};
  size_t m_section = kSections;  // kSections: none that keeps records in the text
  bool m_keepText = false;
  bool m_takesAll = true;
};

// The same filter for a thread that sees the tags before the collector: it
// follows the sections from the tags themselves. Where the file's frame is
// broken the collector stops reading, so what it drops there does not matter.
class FilterAhead {
 public:
  explicit FilterAhead(const TagFilter& filter) : m_filter(filter) {}

  bool takes(int16_t code, std::string_view value) {
    if (code == 0) {
      startRecord(value);
      return true;
    }
    // A section's name is the group 2 right after its group 0.
    if (m_opensSection && m_tagsInRecord++ == 1 && code == 2) m_filter.enterSection(value);
    return m_filter.takes(code);
  }

 private:
  void startRecord(std::string_view type) {
    if (m_closesSection) m_filter.leaveSection();
    m_opensSection = type == "SECTION";
    m_closesSection = type == "ENDSEC";
    m_tagsInRecord = 1;
    m_filter.startRecord(type);
  }

  TagFilter m_filter;
  bool m_opensSection = false, m_closesSection = false;
  size_t m_tagsInRecord = 0;
};

}  // namespace dxf
