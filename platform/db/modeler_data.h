// Finding an entity's solid modeller data in its drawing: the SAT lines of
// its AcDbModelerGeometry subclass, or, from R2013 on, the SAB bytes that
// the ACDSDATA section keeps for its handle.
#pragma once
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "acis/payload.h"
#include "db/record.h"

namespace db {

class Database;

// The ACDSRECORD objects of a drawing that hold modeller data, by the
// handle of the entity they belong to (group 320). Made once per drawing:
// the section is the last of the file and is only looked at when asked.
class ModelerDataIndex {
 public:
  explicit ModelerDataIndex(const Database& database);
  // The bytes kept for the entity with this handle; false when there are
  // none or their chunks are not hex.
  bool bytesOf(uint64_t handle, std::vector<uint8_t>& bytes) const;

 private:
  std::vector<std::pair<uint64_t, const Record*>> m_records;  // sorted by handle
};

// The payload of the entity whose tags are `tags` in `database`; false when
// it has none (an entity that is not a modeller entity, or one whose data
// is missing).
bool modelerPayloadOf(std::span<const TagView> tags, const Database& database, acis::Payload& payload);

}  // namespace db
