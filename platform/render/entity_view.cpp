#include "entity_view.h"

#include <algorithm>

#include "db/database.h"
#include "db/record_tags.h"

namespace acre_detail {
namespace {

// What the builders read of a VERTEX record: its point, bulge, widths, flags
// and face corners. Its handle, owner, layer and markers stay out of the view.
constexpr bool vertexGeometry(int16_t code) {
  return code == 10 || code == 20 || code == 30 || (code >= 40 && code <= 42) || (code >= 70 && code <= 74);
}

// Parses one record's text onto the view's storage, extended data left out.
bool parseInto(std::string_view text, bool vertex, EntityView& view) {
  size_t first = view.storage.size();
  bool parsed = vertex ? acdb_detail::parseTagText(text, view.storage, vertexGeometry)
                       : acdb_detail::parseTagText(text, view.storage);
  if (!parsed) return false;
  std::span<const acdb_detail::TagView> added(view.storage.data() + first, view.storage.size() - first);
  view.storage.resize(first + acdb_detail::extendedDataStart(added));
  return true;
}

// The records' text when they all still sit one after another in the
// drawing file (a polyline and its vertices as read): one read for all.
bool readTogether(const std::vector<const acdb_detail::Record*>& parts, EntityView& view) {
  uint64_t start = parts[0]->textOffset, end = start;
  for (const acdb_detail::Record* part : parts) {
    if (!part->inText() || part->textOffset != end) return false;
    end += part->textLength;
  }
  const acdb_detail::Database* database = acdb_detail::databaseOf(*parts[0]);
  return database && database->readText(start, static_cast<size_t>(end - start), view.newText());
}

// One record's text, read on its own, or views of the tags it holds.
bool addOne(const acdb_detail::Record& record, bool vertex, EntityView& view) {
  if (!record.inText()) {
    for (const acdb_detail::Tag& tag : record.stored->tags)
      if (!vertex || vertexGeometry(tag.code)) view.storage.push_back({tag.code, tag.value});
    return true;
  }
  const acdb_detail::Database* database = acdb_detail::databaseOf(record);
  std::string& text = view.newText();
  if (!database || !database->readText(record.textOffset, record.textLength, text)) return false;
  size_t wanted = view.storage.size() + acdb_detail::expectedTagCount(text.size());
  if (view.storage.capacity() < wanted) view.storage.reserve(std::max(wanted, 2 * view.storage.capacity()));
  return parseInto(text, vertex, view);
}

}  // namespace

void EntityView::clear() {
  type = {};
  tags = {};
  vertices.clear();
  storage.clear();
  m_textsInUse = 0;
}

std::string& EntityView::newText() {
  if (m_textsInUse == texts.size()) texts.push_back(std::make_unique<std::string>());
  std::string& text = *texts[m_textsInUse++];
  text.clear();
  return text;
}

bool viewOf(const acdb_detail::Record& record, EntityView& view) {
  view.clear();
  view.type = record.type;
  const acdb_detail::Database* database = acdb_detail::databaseOf(record);
  if (record.type != "POLYLINE" || !database || record.followerCount == 0) {
    if (!addOne(record, false, view)) return false;
    view.tags = view.storage;
    return true;
  }
  // The record, then a POLYLINE's VERTEX records; followers in between that
  // are not vertices (SEQEND) only count for reading the text in one piece.
  std::vector<const acdb_detail::Record*> parts{&record};
  for (const acdb_detail::Record& follower : database->followers(record)) parts.push_back(&follower);
  std::vector<size_t> ends;
  if (readTogether(parts, view)) {
    std::string_view text = *view.texts.front();
    view.storage.reserve(acdb_detail::expectedTagCount(text.size()));
    size_t at = 0;
    for (const acdb_detail::Record* part : parts) {
      std::string_view piece = text.substr(at, part->textLength);
      at += part->textLength;
      if (part != &record && part->type != "VERTEX") continue;
      if (!parseInto(piece, part != &record, view)) return false;
      ends.push_back(view.storage.size());
    }
  } else {
    for (const acdb_detail::Record* part : parts) {
      if (part != &record && part->type != "VERTEX") continue;
      if (!addOne(*part, part != &record, view)) return false;
      ends.push_back(view.storage.size());
    }
  }
  TagSpan all = view.storage;
  view.tags = all.first(ends[0]);
  for (size_t i = 1; i < ends.size(); ++i) view.vertices.push_back(all.subspan(ends[i - 1], ends[i] - ends[i - 1]));
  return true;
}

}  // namespace acre_detail
