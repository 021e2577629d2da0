#include "db/modeler_data.h"

#include <algorithm>

#include "db/database.h"
#include "db/number_text.h"
#include "db/record_tags.h"

namespace db {

namespace {

// The entity handle a data record belongs to, 0 when it holds no modeller
// data (the section also keeps thumbnails and its schemas' records).
uint64_t ownerOf(const RecordTags& tags) {
  auto owner = tags.find(320);
  bool modeler = false;
  for (const TagView& tag : tags.ordinary()) modeler = modeler || (tag.code == 2 && tag.value == "ASM_Data");
  return owner && modeler ? parseHandle(*owner) : 0;
}

}  // namespace

ModelerDataIndex::ModelerDataIndex(const Database& database) {
  for (const Record* record : database.records()) {
    if (std::string_view(record->type) != "ACDSRECORD") continue;
    RecordTags tags(*record);
    if (!tags.ok()) continue;
    if (uint64_t owner = ownerOf(tags)) m_records.emplace_back(owner, record);
  }
  // The first record wins a handle that two claim.
  std::stable_sort(m_records.begin(), m_records.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

bool ModelerDataIndex::bytesOf(uint64_t handle, std::vector<uint8_t>& bytes) const {
  auto found = std::lower_bound(m_records.begin(), m_records.end(), handle,
                                [](const auto& entry, uint64_t wanted) { return entry.first < wanted; });
  if (found == m_records.end() || found->first != handle) return false;
  RecordTags tags(*found->second);
  if (!tags.ok()) return false;
  bytes.clear();
  std::string chunk;
  for (const TagView& tag : tags.ordinary()) {
    if (tag.code != 310) continue;
    if (!bytesOfHex(tag.value, chunk)) return false;
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
  }
  return !bytes.empty();
}

bool modelerPayloadOf(std::span<const TagView> tags, const Database& database, acis::Payload& payload) {
  payload = {};
  const bool caretEscaped = database.format() == FileFormat::Ascii;
  bool inSubclass = false;
  for (const TagView& tag : tags) {
    if (tag.code == 100) inSubclass = tag.value == "AcDbModelerGeometry";
    else if (inSubclass && (tag.code == 1 || tag.code == 3))
      acis::appendSatGroup(tag.value, tag.code == 1, caretEscaped, payload.sat);
  }
  if (!payload.sat.empty()) return true;
  auto handle = findTag(tags, 5);
  return handle && database.modelerData().bytesOf(parseHandle(*handle), payload.sab);
}

}  // namespace db
