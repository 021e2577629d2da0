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

}  // namespace db
