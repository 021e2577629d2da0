// Facets one entity, following inserts into their blocks.
#pragma once
#include <string_view>
#include <vector>

#include "acadstrc.h"
#include "acis/payload.h"
#include "batch_emitter.h"
#include "entity_view.h"
#include "geometry.h"

namespace render {

struct BlockContents {
  Vec3 base;  // the block's base point (10/20/30)
  std::vector<EntityView> entities;
};

// What the drawing around the entities offers: the blocks inserts refer to,
// and the modeller data that solids may keep outside their own tags.
class BlockSource {
 public:
  // The contents of the block of this name; false when there is none.
  virtual bool find(std::string_view name, BlockContents& contents) const = 0;
  // The modeller data of the entity with these tags; false when it has none.
  virtual bool modelerPayload(TagSpan tags, acis::Payload& payload) const;

 protected:
  ~BlockSource() = default;
};

// Bounds on what an insert may ask for; more is refused (eInvalidExtents).
constexpr int kMaxInsertDepth = 32;
constexpr int64_t kMaxArrayCells = 100'000;
// Block placements visited for one entity, over all nesting levels.
constexpr int64_t kMaxPlacements = 1'000'000;

// Cuts the entity into polygons and hands them to `out` (the caller
// finishes it). An insert is cut through its block, a dimension through the
// block that pictures it. eOk when at least one polygon came out;
// eNotApplicable for a type the facetter cannot cut (or a dimension without
// its block); eDegenerateGeometry when nothing has a surface; eSelfReference
// for a block that inserts itself; eInvalidInput for malformed values;
// eInvalidExtents for absurd counts. Inside a block, pieces of the first
// three kinds are left out and the rest is kept.
Acad::ErrorStatus facetEntity(const EntityView& entity, const BlockSource* blocks, BatchEmitter& out);

}  // namespace render
