#include "db/record_tags.h"

#include "db/database.h"

namespace db {

std::optional<std::string_view> findTag(std::span<const TagView> tags, int code) {
  for (const TagView& tag : tags)
    if (tag.code == code) return tag.value;
  return std::nullopt;
}

std::optional<std::string_view> findTagInText(std::string_view text, int code) {
  const char* at = text.data();
  const char* end = at + text.size();
  int16_t found = 0;
  std::string_view value, line;
  while (at < end) {
    if (!readShortTag(at, text.data(), end, found, value) &&
        readTag<false>(at, end, found, value, line) != TagProblem::None)
      return std::nullopt;
    if (found == code) return value;
  }
  return std::nullopt;
}

void appendViews(const StoredTags& stored, std::vector<TagView>& out) {
  for (const Tag& tag : stored.tags) out.push_back({tag.code, tag.value});
  for (const XDataBlock& block : stored.xdata) {
    out.push_back({1001, block.app});
    for (const Tag& tag : block.tags) out.push_back({tag.code, tag.value});
  }
}

void RecordTags::read(const Record& record) {
  m_text.clear();
  m_tags.clear();
  m_ordinary = 0;
  m_ok = true;
  if (!record.inText()) {
    m_tags.reserve(record.stored->tags.size());
    appendViews(*record.stored, m_tags);
    m_ordinary = record.stored->tags.size();
    return;
  }
  const Database* database = databaseOf(record);
  m_ok = database && database->readText(record.textOffset, record.textLength, m_text);
  m_tags.reserve(expectedTagCount(m_text.size()));
  m_ok = m_ok && parseTagText(m_text, m_tags);
  if (!m_ok) m_tags.clear();
  m_ordinary = extendedDataStart(m_tags);
}

}  // namespace db
