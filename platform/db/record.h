// What the database stores for one object: its tags as the drawing file holds
// them, so that saving writes back exactly what was read.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class AcDbDatabase;

namespace acdb_detail {

// One group code with its value as text, exactly as read.
struct Tag {
  int16_t code;
  std::string value;
};

// The extended data of one registered application: the tags after its 1001.
struct XDataBlock {
  std::string app;
  std::vector<Tag> tags;
};

struct Record {
  std::string type;             // "3DFACE", "INSERT", "LAYER", ...
  uint64_t handle = 0;          // group code 5 (105 for DIMSTYLE), 0 when none
  std::vector<Tag> tags;        // from the type's group 0 on, extended data excepted
  std::vector<XDataBlock> xdata;
  AcDbDatabase* database = nullptr;
  bool erased = false;

  // Set when the database indexes the record.
  uint32_t serial = 0;          // 1-based number within its database, names it in an ads_name
  bool entity = false;          // a drawable entity (model/paper space or block definition)
  // VERTEX/ATTRIB records and the closing SEQEND that belong to a POLYLINE or
  // INSERT, in file order; they are not entities of their own.
  std::vector<Record*> followers;

  // Open state.
  int readers = 0;
  bool writer = false;
  int notifiers = 0;

  // The value of the first tag with this code, or null.
  const std::string* find(int code) const {
    for (const Tag& tag : tags)
      if (tag.code == code) return &tag.value;
    return nullptr;
  }
};

}  // namespace acdb_detail
