// Layers through the layer table, entity colour and layer, and the current UCS.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "acadmem.h"
#include "db/database.h"
#include "db/number_text.h"
#include "dbbuild.h"
#include "dbmain.h"

namespace {

Adesk::UInt16 layerColor(const char* name, Acad::ErrorStatus& status) {
  AcDbLayerTable* table = nullptr;
  status = acdbCurDwg()->getLayerTable(table, AcDb::kForRead);
  if (status != Acad::eOk) return 0;
  AcDbLayerTableRecord* layer = nullptr;
  status = table->getAt(name, layer, AcDb::kForRead);
  table->close();
  if (status != Acad::eOk) return 0;
  Adesk::UInt16 index = layer->color().colorIndex();
  layer->close();
  return index;
}

TEST(Layers, ColoursAreFoundByNameInAnyCase) {
  db::build::newDrawing();
  db::build::addLayer("Walls", 3);
  db::build::addLayer("Hidden", 5, true);
  Acad::ErrorStatus status;
  EXPECT_EQ(layerColor("WALLS", status), 3);
  EXPECT_EQ(status, Acad::eOk);
  EXPECT_EQ(layerColor("hidden", status), 5) << "an off layer keeps its colour";
  EXPECT_EQ(layerColor("0", status), 7);
  layerColor("Missing", status);
  EXPECT_EQ(status, Acad::eKeyNotFound);
  // Asked again, in another case, and beside it names that only begin or
  // end like it.
  EXPECT_EQ(layerColor("walls", status), 3);
  EXPECT_EQ(layerColor("WallsX", status), 0);
  EXPECT_EQ(status, Acad::eKeyNotFound);
  EXPECT_EQ(layerColor("Walls", status), 3);
  EXPECT_EQ(layerColor("Wall", status), 0);
  EXPECT_EQ(status, Acad::eKeyNotFound);
  EXPECT_EQ(layerColor("HIDDEN", status), 5);
  EXPECT_TRUE(db::build::addLayer("walls", 1).isNull()) << "name taken";
  db::build::addLayer("Facade-North-Level-02-Curtain-Wall", 4);
  db::build::addLayer(std::string(200, 'x').c_str(), 6);
  EXPECT_EQ(layerColor("FACADE-north-LEVEL-02-curtain-wall", status), 4);
  EXPECT_EQ(layerColor(std::string(200, 'X').c_str(), status), 6) << "longer than the names looked up in place";
  EXPECT_EQ(layerColor(std::string(199, 'X').c_str(), status), 0);
  EXPECT_EQ(status, Acad::eKeyNotFound);
}

TEST(Layers, EntityColourAndLayerFollowTheirTags) {
  db::build::newDrawing();
  db::build::addLayer("Walls", 3);
  AcDbObjectId plain = db::build::addEntity("LINE", {{8, "Walls"}});
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, plain, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(entity->colorIndex(), 256) << "no colour tag is ByLayer";
  char* layer = entity->layer();
  EXPECT_STREQ(layer, "Walls");
  acad_free(layer);
  EXPECT_EQ(entity->setColorIndex(1), Acad::eNotOpenForWrite);
  entity->close();

  ASSERT_EQ(acdbOpenAcDbEntity(entity, plain, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(entity->setColorIndex(0), Acad::eOk);
  EXPECT_EQ(entity->setLayer("0"), Acad::eOk);
  EXPECT_EQ(entity->setLayer("Nowhere"), Acad::eKeyNotFound);
  entity->close();
  ASSERT_EQ(acdbOpenAcDbEntity(entity, plain, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(entity->colorIndex(), 0);
  layer = entity->layer();
  EXPECT_STREQ(layer, "0");
  acad_free(layer);
  entity->close();
}

// Colour numbers, short ones read by hand, come out as the general integer
// reading makes them in every spelling a writer may use.
TEST(Layers, ColourNumbersReadAsIntegersAreReadInEverySpelling) {
  db::build::newDrawing();
  for (const char* text :
       {"7", "-7",  "0", "-0",  "256", "007",       "  5",        "5 ",         "+3",         "1.0",   "-2.9", "",
        "-", "--1", "x", "12a", "1-",  "123456789", "-123456789", "1234567890", "2147483648", "65537", "9\t"}) {
    AcDbObjectId id = db::build::addEntity("LINE", {{62, text}});
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
    int64_t expected = 256;
    if (!db::parseInteger(text, expected)) expected = 256;
    EXPECT_EQ(entity->colorIndex(), static_cast<Adesk::UInt16>(expected < 0 ? -expected : expected))
        << '"' << text << '"';
    entity->close();
  }
}

// Colour and layer are read where the record keeps its tags: an opening for
// write sees its own changes.
TEST(Layers, AnOpeningReadsTheTagsItHasJustChanged) {
  db::build::newDrawing();
  db::build::addLayer("Walls", 3);
  AcDbObjectId id = db::build::addEntity("LINE", {{8, "Walls"}, {62, "4"}});
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(entity->colorIndex(), 4);
  EXPECT_EQ(entity->setColorIndex(6), Acad::eOk);
  EXPECT_EQ(entity->colorIndex(), 6);
  EXPECT_EQ(entity->setLayer("0"), Acad::eOk);
  char* layer = entity->layer();
  EXPECT_STREQ(layer, "0");
  acad_free(layer);
  entity->close();
}

// A layer's colour is remembered from one look to the next, and read again
// after any change of a record's tags.
TEST(Layers, ALayerColourIsReadAgainAfterItsTagsChange) {
  db::build::newDrawing();
  AcDbObjectId walls = db::build::addLayer("Walls", 3);
  db::build::addLayer("Doors", 2);
  Acad::ErrorStatus status;
  ASSERT_EQ(layerColor("Walls", status), 3);
  db::Record& record = *walls.record();
  ASSERT_TRUE(db::currentDatabase()->edit(record));
  for (db::Tag& tag : record.stored->tags)
    if (tag.code == 62) tag.value = "-4";
  EXPECT_EQ(layerColor("Walls", status), 4);
  AcDbLayerTable* table = nullptr;
  ASSERT_EQ(acdbCurDwg()->getLayerTable(table, AcDb::kForRead), Acad::eOk);
  AcDbLayerTableRecord* layer = nullptr;
  ASSERT_EQ(table->getAt("Walls", layer, AcDb::kForRead), Acad::eOk);
  table->close();
  EXPECT_TRUE(layer->isOff());
  layer->close();
  EXPECT_EQ(layerColor("Doors", status), 2);
  EXPECT_EQ(layerColor("Walls", status), 4);
  // A drawing made anew forgets what the one before had.
  db::build::newDrawing();
  db::build::addLayer("Walls", 5);
  EXPECT_EQ(layerColor("Walls", status), 5);
}

TEST(Ucs, WorldPointsAndVectorsTurnIntoTheCurrentUcs) {
  db::build::newDrawing();
  ads_point from = {1, 2, 3}, to;
  acdbWcs2Ucs(from, to, Adesk::kFalse);
  EXPECT_DOUBLE_EQ(to[0], 1);
  EXPECT_DOUBLE_EQ(to[2], 3);

  // Origin (10, 0, 0), X along world Y, Y along world Z: the UCS Z is world X.
  const double origin[3] = {10, 0, 0}, xAxis[3] = {0, 2, 0}, yAxis[3] = {0, 0, 5};
  ASSERT_TRUE(db::build::setUcs(origin, xAxis, yAxis));
  acdbWcs2Ucs(from, to, Adesk::kFalse);
  EXPECT_NEAR(to[0], 2, 1e-12);
  EXPECT_NEAR(to[1], 3, 1e-12);
  EXPECT_NEAR(to[2], -9, 1e-12);
  acdbWcs2Ucs(from, to, Adesk::kTrue);
  EXPECT_NEAR(to[2], 1, 1e-12) << "a vector ignores the origin";

  const double parallel[3] = {0, 4, 0};
  EXPECT_FALSE(db::build::setUcs(origin, xAxis, parallel));
}

// With the world as UCS a point comes back as the general sums give it, bit
// for bit: signed zeros, infinities and NaN included. So it does again after
// another UCS was current.
TEST(Ucs, TheWorldUcsGivesWhatTheGeneralSumsGive) {
  db::build::newDrawing();
  const double inf = std::numeric_limits<double>::infinity();
  const double tiny = std::numeric_limits<double>::denorm_min(), huge = std::numeric_limits<double>::max();
  const double values[] = {0.0,  -0.0,         1.0,           -2.5, 1e-310, -1e300, inf,
                           -inf, std::nan(""), -std::nan(""), tiny, -tiny,  huge,   -huge};
  auto failures = [&] {
    int count = 0;
    for (double x : values)
      for (double y : values)
        for (double z : values) {
          ads_point from = {x, y, z}, to;
          acdbWcs2Ucs(from, to, Adesk::kFalse);
          const double sums[3] = {x * 1 + y * 0 + z * 0, x * 0 + y * 1 + z * 0, x * 0 + y * 0 + z * 1};
          for (int i = 0; i < 3; ++i)
            count += !(std::isnan(to[i]) && std::isnan(sums[i])) &&
                     std::bit_cast<uint64_t>(to[i]) != std::bit_cast<uint64_t>(sums[i]);
        }
    return count;
  };
  EXPECT_EQ(failures(), 0) << "a new drawing";
  const double origin[3] = {5, 0, 0}, xAxis[3] = {1, 0, 0}, yAxis[3] = {0, 1, 0}, zero[3] = {0, 0, 0};
  ASSERT_TRUE(db::build::setUcs(origin, xAxis, yAxis));
  ads_point from = {1, 2, 3}, to;
  acdbWcs2Ucs(from, to, Adesk::kFalse);
  EXPECT_EQ(to[0], -4) << "a shifted UCS is not taken for the world";
  ASSERT_TRUE(db::build::setUcs(zero, xAxis, yAxis));
  EXPECT_EQ(failures(), 0) << "the world again";
}

}  // namespace
