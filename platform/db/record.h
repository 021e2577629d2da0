// What the database stores for one object: its tags as the drawing file holds
// them, so that saving writes back exactly what was read.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/record_type.h"

class AcDbDatabase;

namespace db {

// One group code with its value as text, exactly as read.
struct Tag {
  int16_t code;
  std::string value;
};

// A tag seen in place: the value stays where it was found.
struct TagView {
  int16_t code;
  std::string_view value;
};

// The extended data of one registered application: the tags after its 1001.
struct XDataBlock {
  std::string app;
  std::vector<Tag> tags;
};

// Tags a record holds itself: the ordinary ones, from the type's group 0 on,
// and the extended data.
struct StoredTags {
  std::vector<Tag> tags;
  std::vector<XDataBlock> xdata;
};

// Kept small: a large drawing holds millions of them.
struct Record {
  uint64_t handle = 0;  // group code 5 (105 for DIMSTYLE), 0 when none
  // A record read from a text drawing file leaves its tags in that file and
  // reads them back when asked (RecordTags): a large drawing then costs little
  // more memory than its index. Editing it moves the tags into `stored`.
  uint64_t textOffset = 0;
  std::unique_ptr<StoredTags> stored;  // null while the tags are in the file
  uint32_t textLength = 0;
  // Set when the database indexes the record: 1-based number within its
  // database, names it in an ads_name.
  uint32_t serial = 0;
  RecordType type;  // "3DFACE", "INSERT", "LAYER", ...
  // VERTEX/ATTRIB records and the closing SEQEND that belong to a POLYLINE or
  // INSERT: the records stored right after it (Database::followers).
  uint32_t followerCount = 0;

  // Open state. Readers are bounded by the open rules; notifiers only count.
  uint16_t readers = 0;
  uint16_t notifiers = 0;
  // The database that stores the record, by its place among the databases
  // alive (Database::of): a pointer would make every record a quarter larger.
  uint16_t databaseSlot = 0;  // 0: none
  bool writer : 1 = false;

  bool erased : 1 = false;
  bool entity : 1 = false;  // a drawable entity (model/paper space or block definition)
  // Group 67 as read: the entity lies in paper space. Edits do not update it;
  // RecordTags has the tags of an edited record.
  bool paperSpaceAsRead : 1 = false;
  // Whether the tags as read hold a colour (62) and extended data: an export
  // asks both of every entity, and most have neither.
  bool colorAsRead : 1 = false;
  bool extendedDataAsRead : 1 = false;

  AcDbDatabase* database() const;

  bool inText() const { return !stored; }
};
static_assert(sizeof(Record) <= 48, "a record's size counts a million times over in a large drawing");

}  // namespace db
