// Blocks of a drawing database, for inserts to find.
#pragma once
#include "db/database.h"
#include "entity_facetter.h"

namespace render {

class DatabaseBlocks : public BlockSource {
 public:
  explicit DatabaseBlocks(const db::Database* database) : m_database(database) {}
  // Erased entities of the block are left out.
  bool find(std::string_view name, BlockContents& contents) const override;
  bool modelerPayload(TagSpan tags, acis::Payload& payload) const override;

 private:
  const db::Database* m_database;
};

}  // namespace render
