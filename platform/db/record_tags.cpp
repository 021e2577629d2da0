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
// first that is not, `at` is left at it for the reading tag by tag.
std::optional<std::string_view> findInFirstTags(const char*& at, const char* end, int code) {
  constexpr unsigned kWindow = 64;
  if (end - at < static_cast<ptrdiff_t>(kWindow)) return std::nullopt;
  const uint64_t lineEnds = lineEndsIn64(at);
  unsigned offset = 0;
  do {
    const uint64_t ahead = lineEnds >> offset;
    int16_t found = 0;
    if ((ahead & 0xF) != 0x8 || (ahead >> 4) == 0 || !threeColumnCode(at + offset, found)) break;
    const unsigned valueStart = offset + 4;
    const unsigned stop = valueStart + static_cast<unsigned>(__builtin_ctzll(ahead >> 4));
    if (found == code) {
      const unsigned length = stop - valueStart - (stop > valueStart && at[stop - 1] == '\r');
      return std::string_view(at + valueStart, length);
    }
    offset = stop + 1;
  } while (offset < kWindow);
  at += offset;
  return std::nullopt;
}

// The tags from `at` on, read one by one. Out of line: the first tags'
// look then saves no registers.
[[gnu::noinline]] std::optional<std::string_view> findTagFrom(const char* at, const char* end, int code) {
  std::optional<std::string_view> result;
  forEachTag(std::string_view(at, static_cast<size_t>(end - at)), [&](int16_t found, std::string_view value) {
    if (found == code) result = value;
    return found != code;
  });
  return result;
}

}  // namespace

std::optional<std::string_view> findTagInText(std::string_view text, int code) {
  const char* at = text.data();
  if (std::optional<std::string_view> early = findInFirstTags(at, at + text.size(), code)) return early;
  return findTagFrom(at, text.data() + text.size(), code);
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
