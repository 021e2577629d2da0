// Details of text drawings that saving must carry over unchanged.
#include <gtest/gtest.h>

#include "db/database.h"
#include "db/record_build.h"
#include "db/record_tags.h"
#include "drawing_file.h"
#include "support/files.h"
#include "support/scratch_dir.h"
#include "support/status_matchers.h"

namespace {

std::string openAndSave(const std::string& text) {
  test_support::ScratchDir scratch;
  test_support::writeFile(scratch.file("in.dxf"), text);
  EXPECT_THAT(dxf::open(scratch.file("in.dxf")), test_support::Succeeds());
  EXPECT_THAT(dxf::save(scratch.file("out.dxf")), test_support::Succeeds());
  return test_support::readFile(scratch.file("out.dxf"));
}

TEST(TextFormat, LineEndsCommentsAndPaddingSurvive) {
  const std::string crlf =
      "999\r\nmade by hand\r\n  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nLINE\r\n  8\r\n  spaced  \r\n"
      " 10\r\n1.50\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
  EXPECT_EQ(openAndSave(crlf), crlf) << "CR LF, a leading comment, values with spaces, 1.50 as written";
}

TEST(TextFormat, CodesAreWrittenRightAlignedAndJunkAfterEofIsDropped) {
  EXPECT_EQ(openAndSave("0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n\x1a\r\n"),
            "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n");
}

TEST(TextFormat, OnlyTrailingApplicationGroupsAreExtendedData) {
  const std::string text =
      "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n1001\nNOT_XDATA\n1000\nx\n  8\n0\n1001\nAPP\n1000\ny\n"
      "1070\n3\n  0\nENDSEC\n  0\nEOF\n";
  EXPECT_EQ(openAndSave(text), text);
  const db::Record& line = *db::currentDatabase()->entities().front();
  db::RecordTags tags(line);
  ASSERT_EQ(tags.extendedData().size(), 3u);
  EXPECT_EQ(tags.extendedData()[0].value, "APP");
  EXPECT_EQ(tags.ordinary().size(), 4u) << "type, the early 1001 and 1000, layer";
}

}  // namespace
