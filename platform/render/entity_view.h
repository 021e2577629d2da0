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

// Groups a run of stored records (a block's contents) into entities: a
// POLYLINE takes the VERTEX records after it up to its SEQEND; an INSERT's
// ATTRIBs and SEQEND are left out, as are stray VERTEX and SEQEND records.
std::vector<EntityView> groupEntities(std::span<const acdb_detail::Record* const> records);

}  // namespace acre_detail
