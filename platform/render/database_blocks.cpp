#include "database_blocks.h"

#include "db/modeler_data.h"
#include "tag_reader.h"

namespace render {

bool DatabaseBlocks::find(std::string_view name, BlockContents& contents) const {
  const db::Block* block = m_database ? m_database->block(name) : nullptr;
  if (!block || !block->header) return false;
  EntityView headerView;
  if (!viewOf(*block->header, headerView)) return false;
  TagReader header(headerView.tags);
  contents.base = header.point(10);
  if (!header.valid()) return false;
  contents.entities.clear();
  for (const db::Record* record : block->entities) {
    if (record->erased) continue;
    EntityView view;
    if (!viewOf(*record, view)) return false;
    contents.entities.push_back(std::move(view));
  }
  return true;
}

bool DatabaseBlocks::modelerPayload(TagSpan tags, acis::Payload& payload) const {
  return m_database && db::modelerPayloadOf(tags, *m_database, payload);
}

}  // namespace render
