// A new, empty drawing and the additions the host and tests make to it.
#include "db/database.h"
#include "db/record_build.h"
#include "dbbuild.h"

namespace {

using db::Tag;

std::vector<db::Record> emptyDrawingRecords() {
  // Built once: the fuzz targets start every input from an empty drawing.
  static const std::vector<std::vector<Tag>> layout = {
      {{0, "SECTION"},   {2, "HEADER"}, {9, "$ACADVER"},  {1, "AC1009"}, {9, "$INSUNITS"}, {70, "0"},
       {9, "$UCSORG"},   {10, "0.0"},   {20, "0.0"},      {30, "0.0"},   {9, "$UCSXDIR"},  {10, "1.0"},
       {20, "0.0"},      {30, "0.0"},   {9, "$UCSYDIR"},  {10, "0.0"},   {20, "1.0"},      {30, "0.0"},
       {9, "$HANDLING"}, {70, "1"},     {9, "$HANDSEED"}, {5, "20"}},
      {{0, "ENDSEC"}},
      {{0, "SECTION"}, {2, "TABLES"}},
      {{0, "TABLE"}, {2, "LAYER"}, {70, "1"}},
      {{0, "LAYER"}, {5, "10"}, {2, "0"}, {70, "0"}, {62, "7"}, {6, "CONTINUOUS"}},
      {{0, "ENDTAB"}},
      {{0, "TABLE"}, {2, "APPID"}, {70, "1"}},
      {{0, "APPID"}, {5, "11"}, {2, "ACAD"}, {70, "0"}},
      {{0, "ENDTAB"}},
      {{0, "ENDSEC"}},
      {{0, "SECTION"}, {2, "BLOCKS"}},
      {{0, "ENDSEC"}},
      {{0, "SECTION"}, {2, "ENTITIES"}},
      {{0, "ENDSEC"}},
      {{0, "EOF"}},
  };
  std::vector<db::Record> records;
  for (const auto& tags : layout) records.push_back(db::buildRecord(tags));
  return records;
}

std::vector<Tag> storedTags(const std::vector<db::build::Tag>& tags) {
  std::vector<Tag> stored;
  stored.reserve(tags.size());
  for (const auto& tag : tags) stored.push_back({static_cast<int16_t>(tag.code), tag.value});
  return stored;
}

}  // namespace

namespace db::build {

AcDbDatabase* newDrawing() {
  auto database = std::make_unique<db::Database>();
  database->adopt(emptyDrawingRecords());
  db::setCurrentDatabase(std::move(database));
  return db::currentDatabase();
}

AcDbObjectId addLayer(const char* name, int colorIndex, bool off, bool frozen) {
  auto* database = db::currentDatabase();
  if (!database || !name) return AcDbObjectId::kNull;
  return AcDbObjectId(database->addLayer(name, colorIndex, off, frozen));
}

AcDbObjectId addEntity(const char* type, const std::vector<Tag>& tags) {
  auto* database = db::currentDatabase();
  if (!database || !type) return AcDbObjectId::kNull;
  return AcDbObjectId(database->addEntity(type, storedTags(tags)));
}

bool addBlock(const char* name, double baseX, double baseY, double baseZ) {
  auto* database = db::currentDatabase();
  const double base[3] = {baseX, baseY, baseZ};
  return database && name && database->addBlock(name, base);
}

AcDbObjectId addBlockEntity(const char* blockName, const char* type, const std::vector<Tag>& tags) {
  auto* database = db::currentDatabase();
  if (!database || !blockName || !type) return AcDbObjectId::kNull;
  return AcDbObjectId(database->addBlockEntity(blockName, type, storedTags(tags)));
}

bool setUcs(const double origin[3], const double xAxis[3], const double yAxis[3]) {
  auto* database = db::currentDatabase();
  return database && database->setUcs(origin, xAxis, yAxis);
}

}  // namespace db::build
