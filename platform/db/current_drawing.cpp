// The drawing open in the host, the entity names that point into it, and
// its user coordinate system.
#include "db/database.h"

namespace db {
namespace {

std::unique_ptr<Database>& current() {
  static std::unique_ptr<Database> database;
  return database;
}

}  // namespace

Database* currentDatabase() { return current().get(); }

void setCurrentDatabase(std::unique_ptr<Database> database) { current() = std::move(database); }

Record* recordOf(AcDbObjectId id) { return id.record(); }

// An entity name is the record's number and the number of its database, so
// a stale or made-up name is recognised instead of followed.
Record* recordOf(const ads_name name) {
  Database* database = currentDatabase();
  if (!database || !name || name[1] != database->serial()) return nullptr;
  return database->bySerial(name[0]);
}

Database* databaseOf(const Record& record) { return Database::of(record.databaseSlot); }

}  // namespace db

AcDbDatabase* acdbCurDwg() { return db::currentDatabase(); }

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name) {
  db::Record* record = db::recordOf(name);
  if (!record) return Acad::eInvalidAdsName;
  id = AcDbObjectId(record);
  return Acad::eOk;
}

Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id) {
  db::Record* record = id.record();
  if (!record) return Acad::eNullObjectId;
  name[0] = static_cast<long>(record->serial);
  name[1] = db::databaseOf(*record)->serial();
  return Acad::eOk;
}

Adesk::Boolean acdbWcs2Ucs(const ads_point from, ads_point to, Adesk::Boolean vector) {
  static constexpr db::Ucs kWorld;
  db::Database* database = db::currentDatabase();
  // Read in place: an export converts every point it writes.
  const db::Ucs& ucs = database ? database->ucs() : kWorld;
  double d[3];
  for (int i = 0; i < 3; ++i) d[i] = from[i] - (vector ? 0.0 : ucs.origin[i]);
  const double* axes[3] = {ucs.xAxis, ucs.yAxis, ucs.zAxis};
  for (int i = 0; i < 3; ++i) to[i] = d[0] * axes[i][0] + d[1] * axes[i][1] + d[2] * axes[i][2];
  return Adesk::kTrue;
}
