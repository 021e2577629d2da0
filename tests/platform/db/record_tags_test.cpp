// Tags of records left in a text drawing: what an opening answers without
// splitting the whole record, and the splitting itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acadmem.h"
#include "adslib.h"
#include "db/database.h"
#include "db/opening_spares.h"
#include "db/record_tags.h"
#include "dbmain.h"
#include "drawing_file.h"
#include "support/files.h"
#include "support/scratch_dir.h"

namespace {

struct Answers {
  int color;
  std::string layer;
  std::string url;  // the first string of PE_URL, or "<none>"
};

Answers answersOf(const db::Record& record) {
  AcDbEntity* entity = nullptr;
  EXPECT_EQ(acdbOpenAcDbEntity(entity, AcDbObjectId(const_cast<db::Record*>(&record)), AcDb::kForRead), Acad::eOk);
  if (!entity) return {-1, "<not opened>", ""};
  char* layer = entity->layer();
  resbuf* list = entity->xData("PE_URL");
  Answers answers{entity->colorIndex(), layer ? layer : "<null>",
                  list && list->rbnext ? list->rbnext->resval.rstring : "<none>"};
  ads_relrb(list);
  acad_free(layer);
  entity->close();
  return answers;
}

TEST(RecordTags, OpeningsOfTextRecordsAnswerColourLayerAndExtendedData) {
  test_support::ScratchDir scratch;
  test_support::writeFile(scratch.file("in.dxf"),
                          "  0\nSECTION\n  2\nENTITIES\n"
                          "  0\nLINE\n  5\n1A\n  8\nWALLS\n"
                          "  0\nLINE\n  5\n1B\n  8\nDOORS\n 62\n-3\n1001\nPE_URL\n1000\na.wrl\n"
                          "  0\nLINE\n  5\n1C\n1001\nNOT_XDATA\n1000\nx\n 62\n5\n"
                          "  0\nLINE\n 10\n1.0\n"
                          "  0\nENDSEC\n  0\nEOF\n");
  std::string error;
  ASSERT_TRUE(dxf::open(scratch.file("in.dxf"), error)) << error;
  ASSERT_EQ(ads_regapp("PE_URL"), RTNORM);
  const auto& entities = db::currentDatabase()->entities();
  ASSERT_EQ(entities.size(), 4u);
  db::openingsCommandStarted();
  for (int pass = 0; pass < 2; ++pass) {  // the second with the kept buffers
    Answers plain = answersOf(*entities[0]);
    EXPECT_EQ(plain.color, 256) << "no colour: by layer";
    EXPECT_EQ(plain.layer, "WALLS");
    EXPECT_EQ(plain.url, "<none>");
    Answers linked = answersOf(*entities[1]);
    EXPECT_EQ(linked.color, 3) << "a layer turned off keeps its colour";
    EXPECT_EQ(linked.layer, "DOORS");
    EXPECT_EQ(linked.url, "a.wrl");
    Answers early = answersOf(*entities[2]);
    EXPECT_EQ(early.color, 5) << "a colour after an early 1001";
    EXPECT_EQ(early.url, "<none>") << "a 1001 followed by ordinary tags is not extended data";
    EXPECT_EQ(answersOf(*entities[3]).layer, "0") << "no layer tag";
  }
  db::openingsCommandEnded();
}

TEST(RecordTags, FindInTextStopsAtTheFirstAndRefusesWhatIsNotTagLines) {
  EXPECT_EQ(db::findTagInText("  0\nLINE\n  8\nA\n  8\nB\n", 8), "A");
  EXPECT_EQ(db::findTagInText("  0\nLINE\r\n 62\r\n7\r\n", 62), "7") << "CR LF";
  EXPECT_EQ(db::findTagInText("  0\nLINE\n 10\n1.0", 10), "1.0") << "the last tag without a line end";
  EXPECT_EQ(db::findTagInText("  0\nLINE\n  8\n0\n", 62), std::nullopt);
  EXPECT_EQ(db::findTagInText("  0\nLINE\nxx\n1\n 62\n1\n", 62), std::nullopt) << "a code line of letters";
  EXPECT_EQ(db::findTagInText("  0\nLINE\n 62\n1\nxx\n", 62), "1") << "found before the fault";
}

TEST(RecordTags, ExtendedDataStartsAtTheFirst1001AfterTheLastOrdinaryTag) {
  using Tags = std::vector<db::TagView>;
  auto start = [](const Tags& tags) { return db::extendedDataStart(tags); };
  EXPECT_EQ(start(Tags{}), 0u);
  EXPECT_EQ(start(Tags{{0, "LINE"}, {8, "0"}}), 2u) << "none";
  EXPECT_EQ(start(Tags{{0, "LINE"}, {1001, "A"}, {1000, "x"}, {1001, "B"}}), 1u);
  EXPECT_EQ(start(Tags{{0, "LINE"}, {1001, "A"}, {8, "0"}, {1000, "x"}, {1001, "B"}, {1002, "{"}}), 4u)
      << "the 1000 after the layer comes before any 1001";
  EXPECT_EQ(start(Tags{{1000, "x"}, {1001, "A"}, {1070, "1"}}), 1u) << "no ordinary tag at all";
  EXPECT_EQ(start(Tags{{0, "LINE"}, {1001, "A"}, {8, "0"}}), 3u) << "an early 1001 is ordinary";
}

TEST(RecordTags, SplittingKeepsEveryTagOfALongRecordAndThoseBeforeAFault) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "1\n\n";  // more tags than are gathered at once
  std::vector<db::TagView> tags = {{999, "kept"}};
  ASSERT_TRUE(db::parseTagText(text, tags));
  ASSERT_EQ(tags.size(), 101u);
  EXPECT_EQ(tags.front().value, "kept");
  EXPECT_EQ(tags.back().code, 1);
  EXPECT_EQ(tags.back().value, "");

  tags.clear();
  EXPECT_FALSE(db::parseTagText("  8\nA\n 62\n1\nbad\n", tags));
  ASSERT_EQ(tags.size(), 2u);
  EXPECT_EQ(tags[1].value, "1");

  tags.clear();
  ASSERT_TRUE(db::parseTagText(" 10\n1\n  8\nA\n 20\n2\n", tags, [](int16_t code) { return code != 8; }));
  ASSERT_EQ(tags.size(), 2u);
  EXPECT_EQ(tags[1].code, 20);
}

TEST(RecordTags, TextBuffersAreKeptWithinACommandOnly) {
  std::string big(4096, 'x');
  db::giveText(std::move(big));
  EXPECT_LT(db::takeText().capacity(), 4096u) << "nothing kept outside a command";
  db::openingsCommandStarted();
  db::giveText(std::string(4096, 'x'));
  std::string kept = db::takeText();
  EXPECT_TRUE(kept.empty());
  EXPECT_GE(kept.capacity(), 4096u);
  db::giveText(std::move(kept));
  db::openingsCommandEnded();
  EXPECT_LT(db::takeText().capacity(), 4096u) << "freed when the command ends";
}

}  // namespace
