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
};

}  // namespace acdb_detail
