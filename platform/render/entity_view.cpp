#include "entity_view.h"

namespace acre_detail {

EntityView viewOf(const acdb_detail::Record& record) {
  EntityView view{record.type, record.tags, {}};
  if (record.type == "POLYLINE")
    for (const acdb_detail::Record* follower : record.followers)
      if (follower->type == "VERTEX") view.vertices.push_back(follower->tags);
  return view;
}

}  // namespace acre_detail
