#include "db/record_tags.h"

#include "db/database.h"

namespace db {

std::optional<std::string_view> findTag(std::span<const TagView> tags, int code) {
  for (const TagView& tag : tags)
    if (tag.code == code) return tag.value;
  return std::nullopt;
}

namespace {

// An entity's first 64 bytes hold its leading tags (type, handle, owner,
// layer), and an export asks every entity its layer: one mask of the line
// ends there serves all of them. A tag is taken as readShortTag takes it (a
// code in three columns, a value line ending within the 64 bytes); at the
// first that is not, `at` stays at it for the reading tag by tag.
std::optional<std::string_view> findInFirstTags(const char*& at, const char* end, int code) {
  constexpr ptrdiff_t kWindow = 64;
  if (end - at < kWindow) return std::nullopt;
  const char* const window = at;
  const uint64_t lineEnds = lineEndsIn64(window);
  while (at - window < kWindow) {
    const uint64_t ahead = lineEnds >> (at - window);
    int16_t found = 0;
    if ((ahead & 0xF) != 0x8 || (ahead >> 4) == 0 || !threeColumnCode(at, found)) return std::nullopt;
    const char* valueStart = at + 4;
    const char* stop = valueStart + __builtin_ctzll(ahead >> 4);
    at = stop + 1;
    if (found == code) {
      if (stop > valueStart && stop[-1] == '\r') --stop;
      return std::string_view(valueStart, static_cast<size_t>(stop - valueStart));
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string_view> findTagInText(std::string_view text, int code) {
  const char* at = text.data();
  const char* end = at + text.size();
  if (std::optional<std::string_view> early = findInFirstTags(at, end, code)) return early;
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
