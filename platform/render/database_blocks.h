// Blocks of a drawing database, for inserts to find.
#pragma once
#include "db/database.h"
#include "entity_facetter.h"

namespace acre_detail {

class DatabaseBlocks : public BlockSource {
 public:
  explicit DatabaseBlocks(const acdb_detail::Database* database) : m_database(database) {}
  // Erased entities of the block are left out.
  bool find(std::string_view name, BlockContents& contents) const override;
  bool modelerPayload(TagSpan tags, acis::Payload& payload) const override;

 private:
  const acdb_detail::Database* m_database;
};

}  // namespace acre_detail
