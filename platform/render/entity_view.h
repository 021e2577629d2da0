// One entity as the facetter sees it: its type and its tags as read from the
// drawing, with the vertex records of an old-style polyline beside it.
#pragma once
#include <span>
#include <string_view>
#include <vector>

#include "db/record.h"

namespace acre_detail {

using TagSpan = std::span<const acdb_detail::Tag>;

struct EntityView {
  std::string_view type;
  TagSpan tags;
  std::vector<TagSpan> vertices;  // POLYLINE only: its VERTEX records in order
};

// The view of a stored entity; a POLYLINE's vertices are the VERTEX records
// that follow it.
EntityView viewOf(const acdb_detail::Record& record);

}  // namespace acre_detail
