#include "database_blocks.h"

#include "db/modeler_data.h"
#include "tag_reader.h"

namespace acre_detail {

bool DatabaseBlocks::find(std::string_view name, BlockContents& contents) const {
  const acdb_detail::Block* block = m_database ? m_database->block(name) : nullptr;
  if (!block || !block->header) return false;
  EntityView headerView;
  if (!viewOf(*block->header, headerView)) return false;
  TagReader header(headerView.tags);
  contents.base = header.point(10);
  if (!header.valid()) return false;
  contents.entities.clear();
  for (const acdb_detail::Record* record : block->entities) {
    if (record->erased) continue;
    EntityView view;
    if (!viewOf(*record, view)) return false;
    contents.entities.push_back(std::move(view));
  }
  return true;
}

bool DatabaseBlocks::modelerPayload(TagSpan tags, acis::Payload& payload) const {
  return m_database && acdb_detail::modelerPayloadOf(tags, *m_database, payload);
}

}  // namespace acre_detail
