// Opening records as objects, with the refusals of the drawing database.
#pragma once
#include "db/database.h"
#include "db/record.h"
#include "dbmain.h"

namespace db {

constexpr int kMaxReaders = 256;

// Counts a new opening of `record` in `mode`, or says why it is refused.
// Inline, as is endOpen(): an export opens and closes three objects an entity.
inline Acad::ErrorStatus beginOpen(Record* record, AcDb::OpenMode mode, bool openErased) {
  if (!record) return Acad::eNullObjectId;
  if (record->erased && !openErased) return Acad::eWasErased;
  if (record->writer) return Acad::eWasOpenForWrite;
  switch (mode) {
    case AcDb::kForRead:
      if (record->readers >= kMaxReaders) return Acad::eAtMaxReaders;
      ++record->readers;
      return Acad::eOk;
    case AcDb::kForWrite:
      if (record->readers > 0) return Acad::eWasOpenForRead;
      record->writer = true;
      if (Database* database = databaseOf(*record)) database->noteChange();
      return Acad::eOk;
    case AcDb::kForNotify:
      if (record->notifiers < UINT16_MAX) ++record->notifiers;
      return Acad::eOk;
  }
  return Acad::eInvalidInput;
}

inline void endOpen(Record& record, AcDb::OpenMode mode) {
  if (mode == AcDb::kForRead && record.readers > 0) --record.readers;
  if (mode == AcDb::kForWrite) record.writer = false;
  if (mode == AcDb::kForNotify && record.notifiers > 0) --record.notifiers;
}

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
