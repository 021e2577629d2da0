// Finding the payload: the substituted SAT lines of the entity's groups, and
// the SAB bytes of the drawing's data section by the entity's handle.
#include <gtest/gtest.h>

#include <string>

#include "acis/payload.h"
#include "db/database.h"
#include "db/modeler_data.h"
#include "db/record_tags.h"
#include "drawing_file.h"
#include "support/corpus.h"
#include "support/status_matchers.h"

namespace {

std::string decoded(std::initializer_list<std::pair<int, std::string_view>> groups, bool caretEscaped) {
  std::string sat;
  for (auto [code, value] : groups) acis::appendSatGroup(value, code == 1, caretEscaped, sat);
  return sat;
}

bool openCorpus(const char* name) {
  support::Status opened = dxf::open(test_support::corpusFile(name));
  EXPECT_THAT(opened, test_support::Succeeds());
  return opened.ok();
}

}  // namespace

TEST(AcisPayload, SubstitutedTextDecodesWithTheCaretEscapeOfTextFilesOnly) {
  // As an R2007 text file stores the product line: the 'A's come out as
  // carets, which the text file escapes.
  EXPECT_EQ(decoded({{1, "^ *+0;:,4 ^ LR"}}, true), "Autodesk ASM");
  // A binary file writes the caret plainly; "^ " is then a caret and a space.
  EXPECT_EQ(decoded({{1, "^*+0;:,4 ^ LR"}}, false), "Autodesk A SM");
  // Group 1 starts a line, group 3 continues it.
  EXPECT_EQ(decoded({{1, "=0;& |"}, {1, "<0:"}, {3, ";8: |"}}, true), "body #\ncoedge #");
}

TEST(AcisPayload, TheDataSectionIsIndexedByTheOwnersHandle) {
  SKIP_WITHOUT_CORPUS();
  ASSERT_TRUE(openCorpus("netdxf__sampleOneSolid3D.dxf"));
  const db::Database& database = *db::currentDatabase();
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(database.modelerData().bytesOf(0x70, bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 15), "ACIS BinaryFile");
  EXPECT_EQ(bytes.size(), 6378u);
  EXPECT_FALSE(database.modelerData().bytesOf(0x71, bytes));
  // The solid's payload comes from there; a line has none.
  size_t solids = 0;
  for (const db::Record* record : database.entities()) {
    db::RecordTags tags(*record);
    acis::Payload payload;
    bool found = modelerPayloadOf(tags.all(), database, payload);
    EXPECT_EQ(found, record->type == "3DSOLID" || record->type == "BODY") << record->type.str();
    if (record->type == "3DSOLID") {
      ++solids;
      EXPECT_TRUE(payload.sat.empty());
      EXPECT_EQ(payload.sab.size(), 6378u);
    }
  }
  EXPECT_EQ(solids, 1u);
  // Thumbnails share the section but are no modeller data.
  ASSERT_TRUE(openCorpus("acadsharp__xdata.dxf"));
  EXPECT_FALSE(db::currentDatabase()->modelerData().bytesOf(0x22, bytes));
}
