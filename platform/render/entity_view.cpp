#include "entity_view.h"

namespace acre_detail {

std::vector<EntityView> groupEntities(std::span<const acdb_detail::Record* const> records) {
  std::vector<EntityView> entities;
  EntityView* polyline = nullptr;
  for (const acdb_detail::Record* record : records) {
    const std::string& type = record->type;
    if (type == "VERTEX") {
      if (polyline) polyline->vertices.push_back(record->tags);
      continue;
    }
    polyline = nullptr;
    if (type == "SEQEND" || type == "ATTRIB") continue;
    entities.push_back(EntityView{type, record->tags, {}});
    if (type == "POLYLINE") polyline = &entities.back();
  }
  return entities;
}

}  // namespace acre_detail
