// Tags of records left in a text drawing: what an opening answers without
// splitting the whole record, and the splitting itself.
#include <gmock/gmock.h>

#include <optional>
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
#include "support/status_matchers.h"

namespace {

// Colour, layer and first PE_URL string of an entity, as an opening answers.
std::string answersOf(db::Record* record) {
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, AcDbObjectId(record), AcDb::kForRead) != Acad::eOk) return "<not opened>";
  char* layer = entity->layer();
  resbuf* list = entity->xData("PE_URL");
  std::string answers = std::to_string(entity->colorIndex()) + " " + layer + " " +
                        (list && list->rbnext ? list->rbnext->resval.rstring : "<none>");
  ads_relrb(list);
  acad_free(layer);
  entity->close();
  return answers;
}

TEST(RecordTags, OpeningsOfTextRecordsAnswerColourLayerAndExtendedData) {
  test_support::ScratchDir scratch;
  test_support::writeFile(scratch.file("in.dxf"),
                          "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  5\n1A\n  8\nWALLS\n"
                          "  0\nLINE\n  5\n1B\n  8\nDOORS\n 62\n-3\n1001\nPE_URL\n1000\na.wrl\n"
                          "  0\nLINE\n  5\n1C\n1001\nNOT_XDATA\n1000\nx\n 62\n5\n  0\nENDSEC\n  0\nEOF\n");
  ASSERT_THAT(dxf::open(scratch.file("in.dxf")), test_support::Succeeds());
  ASSERT_EQ(ads_regapp("PE_URL"), RTNORM);
  const auto& entities = db::currentDatabase()->entities();
  ASSERT_EQ(entities.size(), 3u);
  db::openingsCommandStarted();
  for (int pass = 0; pass < 2; ++pass) {  // the second with the kept buffers
    EXPECT_EQ(answersOf(entities[0]), "256 WALLS <none>") << "no colour: by layer";
    EXPECT_EQ(answersOf(entities[1]), "3 DOORS a.wrl") << "a layer turned off keeps its colour";
    EXPECT_EQ(answersOf(entities[2]), "5 0 <none>") << "a 1001 followed by ordinary tags is not extended data";
  }
  db::openingsCommandEnded();
}

// A record longer than a look into the file's text takes is read whole.
TEST(RecordTags, ARecordTooLongToLookAtAnswersAsAShortOne) {
  test_support::ScratchDir scratch;
  test_support::writeFile(scratch.file("in.dxf"), "  0\nSECTION\n  2\nENTITIES\n  0\nTEXT\n  5\n1A\n  1\n" +
                                                      std::string(600 << 10, 'x') +
                                                      "\n  8\nNOTES\n 62\n4\n  0\nENDSEC\n  0\nEOF\n");
  ASSERT_THAT(dxf::open(scratch.file("in.dxf")), test_support::Succeeds());
  const auto& entities = db::currentDatabase()->entities();
  ASSERT_EQ(entities.size(), 1u);
  ASSERT_TRUE(entities[0]->inText());
  EXPECT_EQ(answersOf(entities[0]), "4 NOTES <none>");
}

TEST(RecordTags, ExtendedDataStartsAtTheFirst1001AfterTheLastOrdinaryTag) {
  using Tags = std::vector<db::TagView>;
  EXPECT_EQ(db::extendedDataStart(Tags{{0, "LINE"}, {8, "0"}}), 2u) << "none";
  EXPECT_EQ(db::extendedDataStart(Tags{{0, "LINE"}, {1001, "A"}, {8, "0"}, {1000, "x"}, {1001, "B"}, {1002, "{"}}), 4u);
  EXPECT_EQ(db::extendedDataStart(Tags{{1000, "x"}, {1001, "A"}, {1070, "1"}}), 1u) << "no ordinary tag at all";
}

TEST(RecordTags, SplittingKeepsEveryTagOfALongRecordAndThoseBeforeAFault) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "1\n\n";  // more tags than are gathered at once
  std::vector<db::TagView> tags = {{999, "kept"}};
  ASSERT_TRUE(db::parseTagText(text, tags));
  ASSERT_EQ(tags.size(), 101u);
  EXPECT_EQ(tags.front().value, "kept");
  EXPECT_EQ(tags.back().code, 1);
  tags.clear();
  EXPECT_FALSE(db::parseTagText("  8\nA\n 62\n1\nbad\n", tags));
  ASSERT_EQ(tags.size(), 2u);
  EXPECT_EQ(tags[1].value, "1");
  EXPECT_EQ(db::findTagInText("  0\nLINE\n 62\n1\nbad\n", 62), "1") << "found before the fault";
  EXPECT_EQ(db::findTagInText("  0\nLINE\nxx\n1\n 62\n1\n", 62), std::nullopt) << "a code line of letters";
}

// Tags split several at a time, and a tag looked for, must come out as read
// line by line: codes in three columns or not, values that end within the
// first 16 or 64 bytes or after them, line ends with a carriage return, tags
// close to the text's end.
TEST(RecordTags, SplitsAndFindsEveryShapeOfTagAsReadLineByLine) {
  const char* codes[] = {"  0", " 10", "330", "1001", "10", "   8", " 62\r"};
  // Long values end in the second 16 bytes or after them.
  const char* values[] = {"",
                          "\r",
                          "1.5",
                          "WALLS\r",
                          "0.123456789",
                          "0.1234567890123",
                          "a long layer name here",
                          "abcdefghijklmnopqrstuvwxy\r",
                          "abcdefghijklmnopqrstuvwxyz0",
                          "abcdefghijklmnopqrstuvwxyz01"};
  std::string text;
  for (const char* code : codes)
    for (const char* value : values) text += std::string(code) + "\n" + value + "\n";
  // Each tag's start in turn, so that every tag is once among the last.
  for (size_t start = 0; start < text.size(); start = text.find('\n', text.find('\n', start) + 1) + 1) {
    std::string_view rest = std::string_view(text).substr(start);
    std::vector<db::TagView> expected, split;
    const char* at = rest.data();
    int16_t code = 0;
    std::string_view value, line;
    while (at < rest.data() + rest.size()) {
      ASSERT_EQ(db::readTag<false>(at, rest.data() + rest.size(), code, value, line), db::TagProblem::None);
      expected.push_back({code, value});
    }
    ASSERT_TRUE(db::parseTagText(rest, split));
    ASSERT_EQ(split.size(), expected.size());
    for (size_t i = 0; i < split.size(); ++i) {
      EXPECT_EQ(split[i].code, expected[i].code) << "tag " << i << " from byte " << start;
      EXPECT_EQ(split[i].value, expected[i].value) << "tag " << i << " from byte " << start;
    }
    for (int wanted : {0, 10, 330, 1001, 8, 62, 999}) {
      std::optional<std::string_view> first;
      for (const db::TagView& tag : expected)
        if (tag.code == wanted && !first) first = tag.value;
      EXPECT_EQ(db::findTagInText(rest, wanted), first) << "code " << wanted << " from byte " << start;
    }
  }
}

TEST(RecordTags, AFaultBeforeTheTagLookedForEndsTheLookAsLineByLine) {
  const std::string tail = "100\nAcDbEntity\n  8\nWALLS\n 10\n1.0\n 20\n2.0\n 30\n3.0\n 11\n4.0\n";
  EXPECT_EQ(db::findTagInText("  0\n3DFACE\n  5\n1F\n" + tail, 8), "WALLS");
  EXPECT_EQ(db::findTagInText("  0\n3DFACE\nxx\n1F\n" + tail, 8), std::nullopt) << "a code line of letters";
  EXPECT_EQ(db::findTagInText("  0\n3DFACE\nabc\n1F\n" + tail, 8), std::nullopt) << "three columns of letters";
  EXPECT_EQ(db::findTagInText("  0\n3DFACE\n  5\n1F\n100000\nx\n" + tail, 8), std::nullopt) << "a code out of range";
}

}  // namespace
