// One entity as the facetter sees it: its type and its tags as read from the
// drawing, with the vertex records of an old-style polyline beside it.
#pragma once
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/drawing_text.h"
#include "db/record.h"

namespace acre_detail {

using TagSpan = std::span<const acdb_detail::TagView>;

// Moving a view keeps its spans valid; it cannot be copied.
struct EntityView {
  EntityView() = default;
  EntityView(std::string_view type, TagSpan tags, std::vector<TagSpan> vertices = {})
      : type(type), tags(tags), vertices(std::move(vertices)) {}

  std::string_view type;
  TagSpan tags;
  std::vector<TagSpan> vertices;  // POLYLINE only: its VERTEX records' geometry tags, in order
  // What the spans look into: tags read back from the drawing file, and the
  // text they were read from.
  std::vector<acdb_detail::TagView> storage;
  std::vector<std::unique_ptr<std::string>> texts;

  // Empties the view for the next entity; the buffers keep their capacity,
  // so a run of entities does not allocate (and fault in) fresh memory each.
  void clear();
  // A text buffer for this entity, empty.
  std::string& newText();

 private:
  size_t m_textsInUse = 0;
};

// The view of a stored entity; a POLYLINE's vertices are the VERTEX records
// that follow it. False when its tags cannot be read.
bool viewOf(const acdb_detail::Record& record, EntityView& view);

// Where an entity's tags lie when they are all still in the drawing file, in
// one piece (a POLYLINE and its followers as read): enough to make its view
// from that text alone, on any thread.
struct TextPlan {
  // A POLYLINE's VERTEX, or the SEQEND that closes it (left out of the view).
  struct Follower {
    uint32_t length;
    bool vertex;
  };
  std::string_view type;
  uint64_t offset = 0;
  size_t length = 0;         // of the whole text
  uint32_t ownLength = 0;    // of the record's own part, which comes first
  std::vector<Follower> followers;  // stays empty, unallocated, for other types
};
// False when the record or a follower is held in memory, or they are apart.
bool planOf(const acdb_detail::Record& record, TextPlan& plan);
// The view from the plan's text in `text`, read beside the window on another
// thread (`aside`).
bool viewFromPlan(const TextPlan& plan, const acdb_detail::DrawingText& text, bool aside, EntityView& view);

}  // namespace acre_detail
