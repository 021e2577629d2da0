// What a read drawing holds: header values, layers, blocks, complex
// entities and their followers, extended data; binary and text twins agree.
#include <gtest/gtest.h>

#include <cmath>

#include "acadmem.h"
#include "adslib.h"
#include "db/database.h"
#include "db/group_codes.h"
#include "db/number_text.h"
#include "db/record_build.h"
#include "db/record_tags.h"
#include "dbmain.h"
#include "drawing_file.h"
#include "support/corpus.h"
#include "support/status_matchers.h"

namespace {

using db::Record;

db::Database& openDrawing(const std::string& path) {
  EXPECT_THAT(dxf::open(path), test_support::Succeeds());
  return *db::currentDatabase();
}

const std::string kSampler = std::string(VRML_TEST_DATA_DIR) + "/dxf/sampler_r12.dxf";

TEST(DrawingContent, HeaderGivesVersionUnitsAndUcs) {
  db::Database& database = openDrawing(kSampler);
  EXPECT_EQ(database.version(), "AC1009");
  EXPECT_EQ(database.units(), 4);
  // Origin (1, 2, 3), X along world Y, Y along world -X.
  ads_point world = {1, 3, 3}, user;
  acdbWcs2Ucs(world, user, Adesk::kFalse);
  EXPECT_NEAR(user[0], 1, 1e-12);
  EXPECT_NEAR(user[1], 0, 1e-12);
  EXPECT_NEAR(user[2], 0, 1e-12);
}

TEST(DrawingContent, LayersKeepColourOffAndFrozen) {
  openDrawing(kSampler);
  AcDbLayerTable* table = nullptr;
  ASSERT_EQ(acdbCurDwg()->getLayerTable(table, AcDb::kForRead), Acad::eOk);
  AcDbLayerTableRecord* layer = nullptr;
  ASSERT_EQ(table->getAt("hidden", layer, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(layer->color().colorIndex(), 5);
  EXPECT_TRUE(layer->isOff());
  EXPECT_FALSE(layer->isFrozen());
  layer->close();
  ASSERT_EQ(table->getAt("Frozen", layer, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(layer->isFrozen());
  EXPECT_FALSE(layer->isOff());
  layer->close();
  table->close();
}

TEST(DrawingContent, EntitiesBlocksAndFollowers) {
  db::Database& database = openDrawing(kSampler);
  ASSERT_EQ(database.entities().size(), 3u) << "VERTEX and SEQEND belong to their POLYLINE";
  const Record& polyline = *database.entities()[1];
  ASSERT_EQ(polyline.type, "POLYLINE");
  auto followers = database.followers(polyline);
  ASSERT_EQ(followers.size(), 3u);
  EXPECT_EQ(followers[1].type, "VERTEX");
  EXPECT_EQ(followers[2].type, "SEQEND");

  const db::Block* cube = database.block("cube");
  ASSERT_NE(cube, nullptr);
  ASSERT_EQ(cube->entities.size(), 1u);
  EXPECT_EQ(cube->entities[0]->type, "3DFACE");
  EXPECT_EQ(db::RecordTags(*cube->header).find(10), "1.0");

  const Record& insert = *database.entities()[2];
  EXPECT_EQ(insert.handle, 0x35u);
  EXPECT_EQ(database.byHandle(0x35), &insert);
  EXPECT_EQ(database.byHandle(0x100), nullptr) << "$HANDSEED names the next handle, no record";
  db::RecordTags insertTags(insert);
  EXPECT_EQ(insertTags.find(39), "2.5") << "thickness";
  EXPECT_EQ(insertTags.find(230), "-1.0") << "extrusion direction";
}

TEST(DrawingContent, ExtendedDataIsSplitPerApplication) {
  db::Database& database = openDrawing(kSampler);
  const Record& face = *database.entities()[0];
  db::RecordTags faceTags(face);
  auto xdata = faceTags.extendedData();
  ASSERT_FALSE(xdata.empty());
  EXPECT_EQ(std::count_if(xdata.begin(), xdata.end(), [](const auto& tag) { return tag.code == 1001; }), 2);
  EXPECT_EQ(xdata[0].value, "PE_URL");
  EXPECT_EQ(faceTags.ordinary().back().code, 33) << "the ordinary tags end before the first 1001";

  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, AcDbObjectId(const_cast<Record*>(&face)), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(entity->colorIndex(), 1);
  resbuf* url = entity->xData("PE_URL");
  ASSERT_NE(url, nullptr);
  ASSERT_NE(url->rbnext, nullptr);
  EXPECT_STREQ(url->rbnext->resval.rstring, "http://example.com/a.wrl");
  ads_relrb(url);
  resbuf* acad = entity->xData("ACAD");
  int count = 0;
  for (resbuf* rb = acad; rb; rb = rb->rbnext, ++count) {
    if (rb->restype == 1010) {
      EXPECT_EQ(rb->resval.rpoint[2], 3.5);
    }
  }
  EXPECT_EQ(count, 5) << "name, {, 1070, point, }";
  ads_relrb(acad);
  entity->close();
}

struct Value {
  int code;
  std::string text;
  double real;  // NaN unless the code holds a number
};

std::vector<Value> values(const db::Database& database) {
  std::vector<Value> all;
  for (const Record* record : database.entities()) {
    db::RecordTags tags(*record);
    for (const auto& tag : tags.ordinary()) {
      if (tag.code == 5) continue;
      double real = std::nan("");
      int64_t integer = 0;
      auto kind = db::valueKind(tag.code);
      if (kind == db::ValueKind::Double) db::parseReal(tag.value, real);
      else if (kind != db::ValueKind::String && kind != db::ValueKind::Binary && db::parseInteger(tag.value, integer))
        real = static_cast<double>(integer);
      all.push_back({tag.code, std::string(tag.value), real});
    }
  }
  return all;
}

// The twins were saved at different times (header dates and handles
// differ); their entities are the same. Text files round reals to 16 digits and pad integers; the binary twin
// has the numbers themselves.
bool same(const Value& a, const Value& b) {
  if (a.code != b.code) return false;
  if (std::isnan(a.real)) return a.text == b.text;
  return std::fabs(a.real - b.real) <= 1e-13 * std::max(1.0, std::fabs(a.real));
}

TEST(DrawingContent, BinaryTwinHoldsTheSameTagsAsTheTextFile) {
  SKIP_WITHOUT_CORPUS();
  auto text = values(openDrawing(test_support::corpusFile("acadsharp__sample_AC1009_ascii.dxf")));
  size_t textEntities = db::currentDatabase()->entities().size();
  auto& binaryDrawing = openDrawing(test_support::corpusFile("acadsharp__sample_AC1009_binary.dxf"));
  EXPECT_EQ(binaryDrawing.format(), db::FileFormat::BinaryByteCodes);
  EXPECT_EQ(binaryDrawing.entities().size(), textEntities);
  auto binary = values(binaryDrawing);
  ASSERT_EQ(text.size(), binary.size());
  size_t differing = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!same(text[i], binary[i]) && differing++ < 5)
      ADD_FAILURE() << "tag " << i << ": " << text[i].code << " " << text[i].text << " / " << binary[i].text;
  }
  EXPECT_EQ(differing, 0u);
}

}  // namespace

// Handles out of file order and handles given twice: a lookup finds the
// first record of each, however the records came.
TEST(DrawingContent, HandleLookupFindsTheFirstRecordOfEachHandle) {
  const char* handles[] = {"10", "20", "5", "20", "5", "30", "7", "30", "10"};
  std::string text = "  0\nSECTION\n  2\nHEADER\n  9\n$HANDLING\n 70\n1\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";
  for (const char* handle : handles) text += std::string("  0\nPOINT\n  5\n") + handle + "\n  8\n0\n";
  text += "  0\nENDSEC\n  0\nEOF\n";
  ASSERT_THAT(dxf::openFromMemory("handles.dxf", text), test_support::Succeeds());
  db::Database& database = *db::currentDatabase();
  const std::vector<Record*>& points = database.entities();
  ASSERT_EQ(points.size(), 9u);
  EXPECT_EQ(database.byHandle(0x10), points[0]);
  EXPECT_EQ(database.byHandle(0x20), points[1]);
  EXPECT_EQ(database.byHandle(0x5), points[2]);
  EXPECT_EQ(database.byHandle(0x30), points[5]);
  EXPECT_EQ(database.byHandle(0x7), points[6]);
  EXPECT_EQ(database.byHandle(0x6), nullptr);
  EXPECT_EQ(database.byHandle(0x31), nullptr);
  // A record added afterwards takes the next handle and is found too.
  Record* added = database.addEntity("POINT", {{8, "0"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}});
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->handle, 0x31u);
  EXPECT_EQ(database.byHandle(0x31), added);
  EXPECT_EQ(database.byHandle(0x5), points[2]);
}
