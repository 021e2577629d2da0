// The drawing open in the host, the entity names that point into it, and
// its user coordinate system.
#include <bit>
#include <cstdint>

#include "db/database.h"

namespace db {
namespace {

// Made before any code runs, so that it goes after every object made later
// at exit, and asked for without a guard: an export asks several times an
// entity.
constinit std::unique_ptr<Database> g_current;

}  // namespace

Database* currentDatabase() { return g_current.get(); }

void setCurrentDatabase(std::unique_ptr<Database> database) { g_current = std::move(database); }

Record* recordOf(AcDbObjectId id) { return id.record(); }

// An entity name is the record's number and the number of its database, so
// a stale or made-up name is recognised instead of followed.
Record* recordOf(const ads_name name) {
  Database* database = currentDatabase();
  if (!database || !name || name[1] != database->serial()) return nullptr;
  return database->bySerial(name[0]);
}

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

namespace {

// The world UCS leaves every finite coordinate as it is, but for -0.0, which
// the general sum may turn into +0.0: such points take the general way.
// Rotated left by one bit with the lowest flipped, -0.0 comes to 0 and the
// infinities and NaNs to the top 2^53 values, so that one wrapping range
// tells them all: an export asks this of every point it writes.
bool keptByWorldUcs(const ads_point at) {
  constexpr uint64_t kSpecialSpan = uint64_t(1) << 53;
  auto ordinary = [](double value) {
    return (std::rotl(std::bit_cast<uint64_t>(value), 1) ^ 1) + kSpecialSpan > kSpecialSpan;
  };
  return ordinary(at[0]) & ordinary(at[1]) & ordinary(at[2]);
}

// The general sums, out of line: the world's case then saves no registers.
[[gnu::noinline]] void toUcs(const db::Ucs& ucs, const ads_point from, ads_point to, bool vector) {
  double d[3];
  for (int i = 0; i < 3; ++i) d[i] = from[i] - (vector ? 0.0 : ucs.origin[i]);
  const double* axes[3] = {ucs.xAxis, ucs.yAxis, ucs.zAxis};
  for (int i = 0; i < 3; ++i) to[i] = d[0] * axes[i][0] + d[1] * axes[i][1] + d[2] * axes[i][2];
}

}  // namespace

Adesk::Boolean acdbWcs2Ucs(const ads_point from, ads_point to, Adesk::Boolean vector) {
  static constexpr db::Ucs kWorld;
  db::Database* database = db::currentDatabase();
  // An export converts every point it writes, mostly with the world as UCS.
  if ((!database || database->ucsIsWorld()) && keptByWorldUcs(from)) {
    for (int i = 0; i < 3; ++i) to[i] = from[i];
    return Adesk::kTrue;
  }
  toUcs(database ? database->ucs() : kWorld, from, to, vector);
  return Adesk::kTrue;
}
