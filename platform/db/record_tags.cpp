#include "db/record_tags.h"

#include <cstring>

#include "db/database.h"

namespace acdb_detail {

bool parseTagText(std::string_view text, std::vector<TagView>& tags) {
  size_t pos = 0;
  auto nextLine = [&](std::string_view& line) {
    if (pos >= text.size()) return false;
    const void* found = std::memchr(text.data() + pos, '\n', text.size() - pos);
    size_t end = found ? static_cast<size_t>(static_cast<const char*>(found) - text.data()) : text.size();
    line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = end + 1;
    return true;
  };
  std::string_view codeLine, value;
  while (nextLine(codeLine)) {
    size_t i = 0;
    while (i < codeLine.size() && codeLine[i] == ' ') ++i;
    int code = 0;
    size_t digits = 0;
    for (; i < codeLine.size() && codeLine[i] >= '0' && codeLine[i] <= '9' && digits < 5; ++i, ++digits)
      code = code * 10 + (codeLine[i] - '0');
    if (digits == 0 || !nextLine(value)) return false;
    tags.push_back({static_cast<int16_t>(code), value});
  }
  return true;
}

std::optional<std::string_view> findTag(std::span<const TagView> tags, int code) {
  for (const TagView& tag : tags)
    if (tag.code == code) return tag.value;
  return std::nullopt;
}

void appendViews(const StoredTags& stored, std::vector<TagView>& out) {
  for (const Tag& tag : stored.tags) out.push_back({tag.code, tag.value});
  for (const XDataBlock& block : stored.xdata) {
    out.push_back({1001, block.app});
    for (const Tag& tag : block.tags) out.push_back({tag.code, tag.value});
  }
}

RecordTags::RecordTags(const Record& record) {
  if (!record.inText()) {
    m_tags.reserve(record.stored->tags.size());
    appendViews(*record.stored, m_tags);
    m_ordinary = record.stored->tags.size();
    return;
  }
  const Database* database = databaseOf(record);
  m_ok = database && database->readText(record.textOffset, record.textLength, m_text) &&
         parseTagText(m_text, m_tags);
  if (!m_ok) m_tags.clear();
  m_ordinary = extendedDataStart(m_tags);
}

}  // namespace acdb_detail
