#include "database_blocks.h"

#include "tag_reader.h"

namespace acre_detail {

bool DatabaseBlocks::find(std::string_view name, BlockContents& contents) const {
  const acdb_detail::Block* block = m_database ? m_database->block(name) : nullptr;
  if (!block || !block->header) return false;
  TagReader header(block->header->tags);
  contents.base = header.point(10);
  if (!header.valid()) return false;
  contents.entities.clear();
  for (const acdb_detail::Record* record : block->entities)
    if (!record->erased) contents.entities.push_back(viewOf(*record));
  return true;
}

}  // namespace acre_detail
