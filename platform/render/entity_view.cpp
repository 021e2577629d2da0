#include "entity_view.h"

#include <algorithm>
#include <array>

#include "db/database.h"
#include "db/record_tags.h"
#include "polyface_records.h"
#include "tag_reader.h"

namespace render {
namespace {

// What the builders read of a VERTEX record: its point, bulge, widths, flags
// and face corners. Its handle, owner, layer and markers stay out of the view.
// A lambda, not a function: handed to the splitter as a pointer, it would be
// called for every tag of every vertex instead of being inlined.
constexpr auto vertexGeometry = [](int16_t code, std::string_view) {
  // Looked up: every tag of every vertex passes.
  static constexpr std::array<bool, 75> kGeometry = [] {
    std::array<bool, 75> geometry{};
    for (int kept : {10, 20, 30, 40, 41, 42, 70, 71, 72, 73, 74}) geometry[static_cast<size_t>(kept)] = true;
    return geometry;
  }();
  return static_cast<uint16_t>(code) < kGeometry.size() && kGeometry[static_cast<uint16_t>(code)];
};

// Reads a face's corner coordinates as they pass; what it found is noted in
// the corners at the end, its state kept in registers meanwhile.
class CornerReader {
 public:
  explicit CornerReader(FaceCorners& corners) : m_corners(corners) {}
  // Inlined into the walk over the tags: a call per tag cost a fifth of
  // reading it. True: the walk goes on to the next tag.
  [[gnu::always_inline]] bool operator()(int16_t code, std::string_view value) {
    // The coordinate of each code from 10 to 33 (x of corners 0 to 3 from
    // 10, y from 20, z from 30); -1 for codes 14 to 19 and 24 to 29.
    static constexpr int8_t kCoordinateOf[24] = {0, 3,  6,  9,  -1, -1, -1, -1, -1, -1, 1, 4,
                                                 7, 10, -1, -1, -1, -1, -1, -1, 2,  5,  8, 11};
    auto offset = static_cast<uint32_t>(code - 10);
    if (offset >= 24 || kCoordinateOf[offset] < 0) return true;
    int coordinate = kCoordinateOf[offset];
    if (m_present >> coordinate & 1) return true;
    m_present = static_cast<uint16_t>(m_present | 1u << coordinate);
    m_read = m_read && db::parsePlainDecimal(value, m_corners.coordinates[coordinate]);
    return true;
  }
  void note() {
    m_corners.present = m_present;
    m_corners.read = m_read;
  }

 private:
  FaceCorners& m_corners;
  uint16_t m_present = 0;
  bool m_read = true;
};

// Parses one record's text onto `storage`, extended data left out; a
// face's corners are read into `corners` on the way.
bool parseInto(std::string_view text, bool vertex, std::vector<db::TagView>& storage, FaceCorners* corners = nullptr) {
  size_t first = storage.size();
  bool parsed = false;
  if (vertex) {
    parsed = db::parseTagText(text, storage, vertexGeometry);
  } else if (corners) {
    CornerReader reader(*corners);
    parsed = db::parseTagText(text, storage, [&reader](int16_t code, std::string_view value) {
      reader(code, value);
      return true;  // every tag kept
    });
    reader.note();
  } else {
    parsed = db::parseTagText(text, storage);
  }
  if (!parsed) return false;
  std::span<const db::TagView> added(storage.data() + first, storage.size() - first);
  storage.resize(first + db::extendedDataStart(added));
  return true;
}

// A face's corners alone, no tag kept; false when its text is not tag lines.
bool readCorners(std::string_view text, FaceCorners& corners) {
  CornerReader reader(corners);
  bool whole = db::forEachTag(text, reader);
  reader.note();
  return whole;
}

// One record's text, read on its own, or views of the tags it holds.
bool addOne(const db::Record& record, bool vertex, EntityView& view) {
  if (!record.inText()) {
    for (const db::Tag& tag : record.stored->tags)
      if (!vertex || vertexGeometry(tag.code, tag.value)) view.storage.push_back({tag.code, tag.value});
    return true;
  }
  const db::Database* database = db::databaseOf(record);
  std::string& text = view.newText();
  if (!database || !database->readText(record.textOffset, record.textLength, text)) return false;
  size_t wanted = view.storage.size() + db::expectedTagCount(text.size());
  if (view.storage.capacity() < wanted) view.storage.reserve(std::max(wanted, 2 * view.storage.capacity()));
  return parseInto(text, vertex, view.storage);
}

// The entity's own tags end at `ownEnd`, each vertex's at the next end.
void splitAt(size_t ownEnd, const std::vector<size_t>& vertexEnds, EntityView& view) {
  TagSpan all = view.storage;
  view.tags = all.first(ownEnd);
  size_t start = ownEnd;
  for (size_t end : vertexEnds) {
    view.vertices.push_back(all.subspan(start, end - start));
    start = end;
  }
}

}  // namespace

void EntityView::clear() {
  type = {};
  tags = {};
  vertices.clear();
  storage.clear();
  streamed = StreamedVertices();
  corners.read = false;
  // Parts not read are empty: most entities are not polyfaces.
  if (polyface.read) polyface.clear();
  m_textsInUse = 0;
}

std::string& EntityView::newText() {
  if (m_textsInUse == texts.size()) texts.push_back(std::make_unique<std::string>());
  return *texts[m_textsInUse++];
}

bool planOf(const db::Record& record, TextPlan& plan) {
  plan.type = record.type;
  plan.offset = record.textOffset;
  plan.length = plan.ownLength = record.textLength;
  plan.followers.clear();
  const db::Database* database = db::databaseOf(record);
  if (!record.inText() || !database) return false;
  // Compared as numbers: this runs for every vertex.
  static const db::RecordType kPolyline("POLYLINE"), kVertex("VERTEX");
  if (record.type != kPolyline) return true;
  uint64_t end = record.textOffset + record.textLength;
  for (const db::Record& follower : database->followers(record)) {
    if (!follower.inText() || follower.textOffset != end || follower.textLength > TextFollower::kMaxLength)
      return false;
    end += follower.textLength;
    plan.length += follower.textLength;
    plan.followers.push_back({follower.textLength, follower.type == kVertex});
  }
  return true;
}

namespace {

void reserveFor(size_t textSize, EntityView& view) {
  size_t wanted = view.storage.size() + db::expectedTagCount(textSize);
  if (view.storage.capacity() < wanted) view.storage.reserve(std::max(wanted, 2 * view.storage.capacity()));
}

// The planned record's own tags, which come first in the view's storage. A
// face's corners are read on the way; with `cornersOnly` its tags are kept
// only when some corner is not a plain decimal, for its builder to read.
bool parseOwn(const TextPlan& plan, std::string_view text, EntityView& view, bool cornersOnly = false) {
  view.type = plan.type;
  if (plan.type != "3DFACE") return parseInto(text, false, view.storage);
  if (cornersOnly && readCorners(text, view.corners) && view.corners.read) return true;
  return parseInto(text, false, view.storage, &view.corners);
}

// The geometry tags of VERTEX records whose texts follow each other in
// `text`, split in one pass. Their tags are all below the extended data's
// codes. False also for a tag whose value line would start in the next
// record.
bool parseVertexRun(std::string_view text, std::span<const TextFollower> vertices, std::vector<db::TagView>& storage,
                    std::vector<size_t>& vertexEnds) {
  if (vertices.empty()) return true;
  size_t kept = storage.size();
  RecordEnds ends(text.data(), vertices);
  auto ended = [&] { vertexEnds.push_back(kept); };
  auto keep = [&](int16_t code, std::string_view value) {
    ends.reach(value.data(), ended);
    if (!vertexGeometry(code, value)) return false;
    ++kept;
    return true;
  };
  if (!db::parseTagText(text, storage, keep) || ends.straddles()) return false;
  ends.finish(ended);
  return true;
}

// A polyface mesh (by its own tags, `own`) whose vertices all come in one
// run of `run` followers, before its SEQEND: those are read to its parts.
bool readsAsPolyface(const TextPlan& plan, size_t run, TagSpan own) {
  for (const TextFollower& follower : std::span<const TextFollower>(plan.followers).subspan(run))
    if (follower.vertex) return false;
  return TagReader(own).integer(70) & kPolyfaceMesh;
}

// The geometry tags of its VERTEX records, from the followers' text, after
// its own; the view's spans look into both texts.
bool parseFollowers(const TextPlan& plan, std::string_view text, EntityView& view) {
  size_t ownEnd = view.storage.size();
  std::vector<size_t> vertexEnds;
  // The vertices before the first other follower (the SEQEND) go in one
  // run, any after it one by one.
  size_t run = 0, at = 0;
  while (run < plan.followers.size() && plan.followers[run].vertex) at += plan.followers[run++].length;
  std::span<const TextFollower> vertices(plan.followers.data(), run);
  if (readsAsPolyface(plan, run, view.storage) && readPolyfaceParts(text.substr(0, at), vertices, view.polyface)) {
    splitAt(ownEnd, {}, view);
    return true;
  }
  if (!parseVertexRun(text.substr(0, at), vertices, view.storage, vertexEnds)) return false;
  for (const TextPlan::Follower& follower : std::span<const TextFollower>(plan.followers).subspan(run)) {
    std::string_view piece = text.substr(at, follower.length);
    at += follower.length;
    if (!follower.vertex) continue;
    if (!parseInto(piece, true, view.storage)) return false;
    vertexEnds.push_back(view.storage.size());
  }
  splitAt(ownEnd, vertexEnds, view);
  return true;
}

// The view of the planned entity from its whole text.
bool parsePlanned(const TextPlan& plan, std::string_view text, EntityView& view, bool cornersOnly = false) {
  reserveFor(text.size(), view);
  if (!parseOwn(plan, text.substr(0, plan.ownLength), view, cornersOnly)) return false;
  // Most entities have no followers: their tags are all their own.
  if (plan.followers.empty()) {
    view.tags = view.storage;
    return true;
  }
  return parseFollowers(plan, text.substr(plan.ownLength), view);
}

}  // namespace

bool viewFromPlan(const TextPlan& plan, const db::DrawingText& source, bool aside, EntityView& view,
                  size_t streamFrom) {
  view.clear();
  auto read = [&](uint64_t offset, size_t length, std::string& out) {
    return aside ? source.readAside(offset, length, out) : source.read(offset, length, out);
  };
  std::string& text = view.newText();
  if (plan.followers.empty() || plan.length <= streamFrom)
    return read(plan.offset, plan.length, text) && parsePlanned(plan, text, view);
  if (!read(plan.offset, plan.ownLength, text)) return false;
  reserveFor(plan.ownLength, view);
  if (!parseOwn(plan, text, view)) return false;
  view.streamed = {&source, plan.offset + plan.ownLength, plan.followers};
  splitAt(view.storage.size(), {}, view);
  return true;
}

bool viewFromPlannedText(const TextPlan& plan, std::string_view text, EntityView& view, bool cornersOnly) {
  view.clear();
  return text.size() == plan.length && parsePlanned(plan, text, view, cornersOnly);
}

bool VertexWalk::next(TagSpan& vertex) {
  if (!m_entity.streamed.source) {
    if (m_next >= m_entity.vertices.size()) return false;
    vertex = m_entity.vertices[m_next++];
    return true;
  }
  while (m_inPiece == m_ends.size()) {
    if (m_failed || m_next >= m_entity.streamed.followers.size()) return false;
    m_failed = !readPiece();
  }
  size_t start = m_inPiece == 0 ? 0 : m_ends[m_inPiece - 1];
  vertex = TagSpan(m_tags).subspan(start, m_ends[m_inPiece] - start);
  ++m_inPiece;
  return true;
}

bool VertexWalk::readPiece() {
  m_tags.clear();
  m_ends.clear();
  m_inPiece = 0;
  return readFollowerPiece(m_entity.streamed, m_next, m_offset, m_text, [this](std::string_view vertex) {
    if (!parseInto(vertex, true, m_tags)) return false;
    m_ends.push_back(m_tags.size());
    return true;
  });
}

bool viewOf(const db::Record& record, EntityView& view) {
  TextPlan plan;
  const db::Database* database = db::databaseOf(record);
  if (planOf(record, plan)) return database->text() && viewFromPlan(plan, *database->text(), false, view);
  // Some part is held in memory: each read on its own.
  view.clear();
  view.type = record.type;
  if (!addOne(record, false, view)) return false;
  size_t ownEnd = view.storage.size();
  std::vector<size_t> vertexEnds;
  if (record.type == "POLYLINE" && database)
    for (const db::Record& follower : database->followers(record)) {
      if (follower.type != "VERTEX") continue;
      if (!addOne(follower, true, view)) return false;
      vertexEnds.push_back(view.storage.size());
    }
  splitAt(ownEnd, vertexEnds, view);
  return true;
}

}  // namespace render
