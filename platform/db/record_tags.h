// A record's tags to read, wherever they are kept: in the record itself or
// still in the drawing file.
#pragma once
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/record.h"
#include "db/tag_lines.h"

namespace db {

// Where a record's extended data starts: the first 1001 after which only
// codes of 1000 and above follow (tags.size() when there is none). Earlier
// tags of 1000 and above stay ordinary tags, so the record is written back as
// it came.
template <typename Tags>
size_t extendedDataStart(const Tags& tags) {
  // Looked for from the end: most records end in an ordinary tag, and then
  // have none.
  size_t ordinaryEnd = tags.size();
  while (ordinaryEnd > 0 && tags[ordinaryEnd - 1].code >= 1000) --ordinaryEnd;
  for (size_t i = ordinaryEnd; i < tags.size(); ++i)
    if (tags[i].code == 1001) return i;
  return tags.size();
}

// Room to reserve for the tags of this much text, so the views are not
// regrown. A tag line pair runs to a dozen bytes and more ("  8\nWALLS\n",
// " 10\n1.5\n"); a bound for the shortest tags would reserve blocks too large
// for the heap to keep between records, each of them then faulted in anew.
inline size_t expectedTagCount(size_t textSize) { return textSize / 12 + 16; }

// A tag that readShortTag leaves, read by readTag: out of line and by
// value, so that the loop over the usual tags keeps its place and the tag
// in registers rather than in memory for readTag to write.
struct TagRead {
  const char* next;
  std::string_view value;
  int16_t code;
  bool ok;
};
[[gnu::noinline]] inline TagRead readTagApart(const char* at, const char* end) {
  TagRead read{at, {}, 0, false};
  std::string_view line;
  read.ok = readTag<false>(read.next, end, read.code, read.value, line) == TagProblem::None;
  return read;
}

// Hands each tag of text-file lines (group code, value) to `visit`, in
// order, until it returns false; false at a tag before then that is not
// such lines. The values are taken as they stand: the text was checked when
// the drawing was read.
template <typename Visit>
bool forEachTag(std::string_view text, Visit&& visit) {
  const char* at = text.data();
  const char* end = at + text.size();
  while (at < end) {
    const char* next = at;
    int16_t code = 0;
    std::string_view value;
    if (!readShortTag(next, text.data(), end, code, value)) {
      TagRead read = readTagApart(at, end);
      if (!read.ok) return false;
      next = read.next, code = read.code, value = read.value;
    }
    at = next;
    if (!visit(code, value)) return true;
  }
  return true;
}

// Splits text-file lines (group code, value) into tags, keeping those
// `keep` accepts (it is shown each tag's code and value, in order, and may
// note values as they pass); false when the text is not such lines.
template <typename Keep>
bool parseTagText(std::string_view text, std::vector<TagView>& tags, Keep keep) {
  // The tags gather in a block on the stack, left unset until written, and
  // join `tags` a block at a time: a push per tag cost as much as reading
  // the tag. The tags read before a fault stay.
  constexpr size_t kBlock = 64;
  union Block {
    Block() {}
    TagView tags[kBlock];
  } block;
  size_t held = 0;
  auto join = [&] {
    tags.insert(tags.end(), block.tags, block.tags + held);
    held = 0;
  };
  bool whole = forEachTag(text, [&](int16_t code, std::string_view value) {
    if (!keep(code, value)) return true;
    if (held == kBlock) join();
    new (&block.tags[held++]) TagView{code, value};
    return true;
  });
  join();
  return whole;
}

inline bool parseTagText(std::string_view text, std::vector<TagView>& tags) {
  return parseTagText(text, tags, [](int16_t, std::string_view) { return true; });
}

// The first value of `code`, or nothing.
std::optional<std::string_view> findTag(std::span<const TagView> tags, int code);

// The first value of `code` below 1000 in a record's text, walked no further
// than that tag: extended data comes last and holds only codes from 1000, so
// the first such tag anywhere is the record's own. Nothing when absent, or
// when the text is not tag lines before it.
std::optional<std::string_view> findTagInText(std::string_view text, int code);

// A snapshot of one record's tags in file order, extended data included
// after its 1001s. Views stay valid while the snapshot lives and the record
// is not edited.
class RecordTags {
 public:
  explicit RecordTags(const Record& record) { read(record); }
  RecordTags(const RecordTags&) = delete;
  RecordTags& operator=(const RecordTags&) = delete;

  // Takes `record`'s tags anew, in the storage already held.
  void read(const Record& record);
  // The bytes that storage holds.
  size_t capacityBytes() const { return m_text.capacity() + m_tags.capacity() * sizeof(TagView); }

  // False when a record kept in its file could not be read back.
  bool ok() const { return m_ok; }
  std::span<const TagView> all() const { return m_tags; }
  // The tags before the extended data.
  std::span<const TagView> ordinary() const { return all().first(m_ordinary); }
  std::span<const TagView> extendedData() const { return all().subspan(m_ordinary); }
  std::optional<std::string_view> find(int code) const { return findTag(ordinary(), code); }

 private:
  std::string m_text;
  std::vector<TagView> m_tags;
  size_t m_ordinary = 0;
  bool m_ok = true;
};

// Views of stored tags, extended data after their 1001s.
void appendViews(const StoredTags& stored, std::vector<TagView>& out);

}  // namespace db
