// Open and close: many readers or one writer, erased objects on request only.
#include "db/open_object.h"

#include "db/database.h"
#include "db/record_tags.h"

namespace db {
namespace {

// The drawing's own layer table is known without reading its tags, which
// every lookup of an entity's layer colour would otherwise do.
bool isLayerTable(const Record& record) {
  if (record.type != "TABLE") return false;
  const Database* database = databaseOf(record);
  if (database && database->layerTable() == &record) return true;
  return RecordTags(record).find(2) == "LAYER";
}

}  // namespace

Acad::ErrorStatus openRecord(Record* record, AcDb::OpenMode mode, bool openErased, AcDbObject*& object) {
  object = nullptr;
  Acad::ErrorStatus status = beginOpen(record, mode, openErased);
  if (status != Acad::eOk) return status;
  if (record->entity) object = new AcDbEntity(record, mode);
  else if (record->type == "LAYER") object = new AcDbLayerTableRecord(record, mode);
  else if (isLayerTable(*record)) object = new AcDbLayerTable(record, mode);
  else object = new AcDbObject(record, mode);
  return Acad::eOk;
}

}  // namespace db

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  return db::openRecord(id.record(), mode, openErased, object);
}
