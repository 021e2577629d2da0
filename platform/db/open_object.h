// Opening records as objects, with the refusals of the drawing database.
#pragma once
#include "db/record.h"
#include "dbmain.h"

namespace db {

// Counts a new opening of `record` in `mode`, or says why it is refused.
Acad::ErrorStatus beginOpen(Record* record, AcDb::OpenMode mode, bool openErased);
void endOpen(Record& record, AcDb::OpenMode mode);

// Opens `record` as the most specific object class it has.
Acad::ErrorStatus openRecord(Record* record, AcDb::OpenMode mode, bool openErased, AcDbObject*& object);

// Opens `record` as `Object`, the class the caller knows it has: an entity,
// a layer, the layer table. Spares the look at its type that openRecord()
// takes, which an export would take three times an entity.
template <typename Object>
Acad::ErrorStatus openAs(Record* record, AcDb::OpenMode mode, bool openErased, Object*& object) {
  object = nullptr;
  Acad::ErrorStatus status = beginOpen(record, mode, openErased);
  if (status == Acad::eOk) object = new Object(record, mode);
  return status;
}

}  // namespace db
