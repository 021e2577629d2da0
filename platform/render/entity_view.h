// One entity as the facetter sees it: its type and its tags as read from the
// drawing, with the vertex records of an old-style polyline beside it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/drawing_text.h"
#include "db/record.h"
#include "geometry.h"

namespace render {

using TagSpan = std::span<const db::TagView>;

// A record that follows a POLYLINE in the drawing file: a VERTEX, or the
// SEQEND that closes it (left out of the view). Four bytes: a mesh has
// millions.
struct TextFollower {
  static constexpr uint32_t kMaxLength = (1u << 31) - 1;
  uint32_t length : 31;
  uint32_t vertex : 1;
};
static_assert(sizeof(TextFollower) == 4);

// The VERTEX records of a POLYLINE too large to hold parsed whole, left in
// the drawing file: they are read and parsed a piece at a time while a
// builder walks them (VertexWalk), so a mesh of millions of vertices never
// holds its text, nor a view of each of its tags, at once.
struct StreamedVertices {
  const db::DrawingText* source = nullptr;  // null: the vertices are in the view
  uint64_t offset = 0;                      // of the first follower
  std::vector<TextFollower> followers;
};

// A 3DFACE's corner coordinates, read while its text was split: drawings
// are mostly faces, and their builder then neither looks for the corners
// among the tags nor parses them again. Codes 10 to 13, 20 to 23 and 30 to
// 33, each at its first, as TagReader takes them.
struct FaceCorners {
  static constexpr int kCoordinates = 12;
  // The x, y and z of the first corner, then of the second, and so on: in
  // the order the builder takes them.
  double coordinates[kCoordinates];
  uint16_t present = 0;  // a bit for each coordinate the tags hold
  // Every coordinate present was a plain decimal: they serve instead of the tags.
  bool read = false;
};

// A polyface mesh's VERTEX records, read while their text was split, as its
// builder adds them to the mesh: the points of the vertex records, and the
// faces kept. The records then keep no tags: they are told apart and their
// faces read on the thread that reads ahead, and the views of a polyface's
// geometry tags take four times the memory of these.
struct PolyfaceParts {
  struct Face {
    int32_t corner[4];
    int32_t count;  // three or four
  };
  // A vertex record's coordinates as written, null where it has none (0).
  // Their builder reads them: the thread that reads ahead is the busier one.
  struct Point {
    std::string_view x, y, z;
  };
  std::vector<Point> points;
  std::vector<Face> faces;
  bool read = false;  // they serve instead of the vertices' tags

  void clear() {
    points.clear();
    faces.clear();
    read = false;
  }
};

// Moving a view keeps its spans valid; it cannot be copied.
struct EntityView {
  EntityView() = default;
  EntityView(std::string_view type, TagSpan tags, std::vector<TagSpan> vertices = {})
      : type(type), tags(tags), vertices(std::move(vertices)) {}

  std::string_view type;
  TagSpan tags;
  // POLYLINE only: its VERTEX records' geometry tags, in order; empty when
  // they are streamed instead (walk them with VertexWalk).
  std::vector<TagSpan> vertices;
  StreamedVertices streamed;
  // 3DFACE only: its corners, when read with its tags.
  FaceCorners corners;
  // POLYLINE only: a polyface's vertex records, when read with its tags;
  // `vertices` is then empty.
  PolyfaceParts polyface;
  // What the spans look into: tags read back from the drawing file, and the
  // text they were read from.
  std::vector<db::TagView> storage;
  std::vector<std::unique_ptr<std::string>> texts;

  // Empties the view for the next entity; the buffers keep their capacity,
  // so a run of entities does not allocate (and fault in) fresh memory each.
  void clear();
  // A text buffer for this entity, to be overwritten by a read: what it
  // held stays, so that reading into it zeroes no more than it grows by.
  std::string& newText();

 private:
  size_t m_textsInUse = 0;
};

// The view of a stored entity; a POLYLINE's vertices are the VERTEX records
// that follow it. False when its tags cannot be read.
bool viewOf(const db::Record& record, EntityView& view);

// Where an entity's tags lie when they are all still in the drawing file, in
// one piece (a POLYLINE and its followers as read): enough to make its view
// from that text alone, on any thread.
struct TextPlan {
  using Follower = TextFollower;
  std::string_view type;
  uint64_t offset = 0;
  size_t length = 0;                // of the whole text
  uint32_t ownLength = 0;           // of the record's own part, which comes first
  std::vector<Follower> followers;  // stays empty, unallocated, for other types
};
// False when the record or a follower is held in memory, or they are apart.
bool planOf(const db::Record& record, TextPlan& plan);
// POLYLINEs whose text is longer than this have their vertices streamed.
constexpr size_t kStreamVerticesFrom = 16 << 20;
// The view from the plan's text in `text`, read beside the window on another
// thread (`aside`); a POLYLINE of more than `streamFrom` bytes keeps its
// vertices in the file (EntityView::streamed).
bool viewFromPlan(const TextPlan& plan, const db::DrawingText& text, bool aside, EntityView& view,
                  size_t streamFrom = kStreamVerticesFrom);
// The same from the plan's whole text, read already by the caller, who keeps
// it alive while the view is used: the view's spans look into it. With
// `cornersOnly`, a 3DFACE whose corners are all plain decimals keeps no tags:
// its corners are all its builder reads.
bool viewFromPlannedText(const TextPlan& plan, std::string_view text, EntityView& view, bool cornersOnly = false);

// Where each record of a run ends, told as the tags of their texts, which
// follow each other, pass in order: a run is split in one pass, a record
// costing a check where it ends rather than a split of its own.
class RecordEnds {
 public:
  RecordEnds(const char* text, std::span<const TextFollower> records)
      : m_records(records), m_end(text + (records.empty() ? 0 : records.front().length)) {}
  // Before the tag whose value starts at `value`: `ended()` once for each
  // record that ended before it.
  template <typename Ended>
  void reach(const char* value, Ended&& ended) {
    if (value < m_end) return;  // most tags
    while (value >= m_end && m_record + 1 < m_records.size()) {
      // A value at a record's start had its code line in the record before.
      m_straddles = m_straddles || value == m_end;
      ended();
      m_end += m_records[++m_record].length;
    }
  }
  // After the last tag: `ended()` for the last record and any after it
  // without tags.
  template <typename Ended>
  void finish(Ended&& ended) {
    for (; m_record < m_records.size(); ++m_record) ended();
  }
  // A tag started in one record and ended in the next.
  bool straddles() const { return m_straddles; }

 private:
  std::span<const TextFollower> m_records;
  const char* m_end;    // of the record being read
  size_t m_record = 0;  // the record being read
  bool m_straddles = false;
};

// Reads the next piece of streamed followers, about a megabyte and at least
// one follower, from follower `next` at file offset `offset` into `text`
// (both move past it), and hands the text of each VERTEX in it to
// `vertex`, which says whether it could be read. False when the file no
// longer holds the piece or a vertex could not be read.
template <typename Vertex>
bool readFollowerPiece(const StreamedVertices& streamed, size_t& next, uint64_t& offset, std::string& text,
                       Vertex vertex) {
  constexpr size_t kPiece = 1 << 20;
  const std::vector<TextFollower>& followers = streamed.followers;
  const size_t first = next;
  size_t length = 0;
  while (next < followers.size() && (length == 0 || length + followers[next].length <= kPiece))
    length += followers[next++].length;
  if (!streamed.source->readAside(offset, length, text)) return false;
  offset += length;
  std::string_view all = text;
  size_t at = 0;
  for (size_t i = first; i < next; ++i) {
    std::string_view piece = all.substr(at, followers[i].length);
    at += followers[i].length;
    if (followers[i].vertex && !vertex(piece)) return false;
  }
  return true;
}

// A POLYLINE's vertices one after the other, from the view or streamed from
// the drawing file.
class VertexWalk {
 public:
  explicit VertexWalk(const EntityView& entity) : m_entity(entity), m_offset(entity.streamed.offset) {}
  // The next vertex's geometry tags, valid until the next call; false at the
  // end, and when the file no longer holds the vertices (then failed()).
  bool next(TagSpan& vertex);
  bool failed() const { return m_failed; }

 private:
  bool readPiece();

  const EntityView& m_entity;
  size_t m_next = 0;  // the next vertex of the view, or follower of the stream
  // The piece of the stream read last: its text, its vertices' tags and
  // where each vertex ends in them.
  uint64_t m_offset = 0;  // of the next piece
  std::string m_text;
  std::vector<db::TagView> m_tags;
  std::vector<size_t> m_ends;
  size_t m_inPiece = 0;  // vertices of the piece handed out
  bool m_failed = false;
};

}  // namespace render
