// Files that are not whole drawings are refused with the file, the line (or
// byte) and the fault, and the current drawing stays as it was.
#include <gtest/gtest.h>

#include <limits>

#include "dbbuild.h"
#include "dbmain.h"
#include "drawing_file.h"
#include "support/files.h"
#include "support/scratch_dir.h"
#include "support/status_matchers.h"

namespace {

const std::string kFrame = "0\nSECTION\n2\nENTITIES\n";
const std::string kEnd = "0\nENDSEC\n0\nEOF\n";

struct Case {
  const char* name;
  std::string text;
  const char* expected;  // what the message must hold after the file name
};

class MalformedText : public ::testing::TestWithParam<Case> {};

TEST_P(MalformedText, IsRefusedWithFileAndLine) {
  test_support::ScratchDir scratch;
  const std::string path = scratch.file("bad.dxf");
  test_support::writeFile(path, GetParam().text);
  AcDbDatabase* before = db::build::newDrawing();
  EXPECT_THAT(dxf::open(path), test_support::FailsWith(path + ": " + GetParam().expected));
  EXPECT_EQ(acdbCurDwg(), before) << "the open drawing stays";
}

INSTANTIATE_TEST_SUITE_P(
    Faults, MalformedText,
    ::testing::Values(
        Case{"Empty", "", "line 0: unexpected end of file (no EOF)"},
        Case{"TruncatedInsideATag", kFrame + "0\n3DFACE\n10\n", "line 7: unexpected end of file after group code 10"},
        Case{"TruncatedBeforeEof", kFrame + "0\n3DFACE\n10\n1.0\n", "line 8: unexpected end of file (no EOF)"},
        Case{"NotANumberCode", kFrame + "0\n3DFACE\nten\n1.0\n" + kEnd, "line 7: invalid group code \"ten\""},
        Case{"CodeOutOfRange", kFrame + "0\n3DFACE\n5000\n1.0\n" + kEnd, "line 7: invalid group code \"5000\""},
        Case{"NotANumber", kFrame + "0\n3DFACE\n10\nnan\n" + kEnd, "line 8: invalid number \"nan\" for group code 10"},
        Case{"Infinity", kFrame + "0\n3DFACE\n20\n-inf\n" + kEnd, "line 8: invalid number \"-inf\" for group code 20"},
        Case{"Overflow", kFrame + "0\n3DFACE\n40\n1e999\n" + kEnd,
             "line 8: invalid number \"1e999\" for group code 40"},
        Case{"TextForAnInteger", kFrame + "0\n3DFACE\n62\nred\n" + kEnd,
             "line 8: invalid integer \"red\" for group code 62"},
        Case{"SectionNotClosed", kFrame + "0\nEOF\n", "line 5: section ENTITIES not closed before EOF"},
        Case{"NestedSection", kFrame + kFrame + kEnd, "line 5: SECTION inside section ENTITIES (ENDSEC missing)"},
        Case{"StrayEndsec", "0\nENDSEC\n0\nEOF\n", "line 1: ENDSEC outside a section"},
        Case{"UnnamedSection", "0\nSECTION\n0\nENDSEC\n0\nEOF\n", "line 1: SECTION without a name (group 2)"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

using namespace std::string_literals;

// A binary drawing with two-byte codes, its first tag at byte 22, "0 LINE" at 43.
std::string binaryDrawing(const std::string& tail) {
  return "AutoCAD Binary DXF\r\n\x1a\0"s + "\0\0SECTION\0\x02\0ENTITIES\0"s + tail;
}

TEST(MalformedBinary, TruncationAndNonFiniteNumbersAreRefusedWithTheByte) {
  test_support::ScratchDir scratch;
  const std::string path = scratch.file("bad.dxf");

  test_support::writeFile(path, binaryDrawing("\0\0LINE\0\x0a\0\0\0"s));
  EXPECT_THAT(dxf::open(path),
              test_support::FailsWith(path + ": byte 50: unexpected end of file in the value of group code 10"));

  const double inf = std::numeric_limits<double>::infinity();
  std::string value(reinterpret_cast<const char*>(&inf), 8);
  test_support::writeFile(path, binaryDrawing("\0\0LINE\0\x0a\0"s + value + "\0\0ENDSEC\0\0\0EOF\0"s));
  EXPECT_THAT(dxf::open(path), test_support::FailsWith(path + ": byte 50: non-finite number for group code 10"));

  test_support::writeFile(path, binaryDrawing("\0\0LINE"s));
  EXPECT_THAT(dxf::open(path),
              test_support::FailsWith(path + ": byte 43: unexpected end of file in the value of group code 0"));

  test_support::writeFile(path, binaryDrawing("\0\0ENDSEC\0\0\0EOF\0"s));
  EXPECT_THAT(dxf::open(path), test_support::Succeeds()) << "the same frame whole";
}

TEST(MalformedInput, MissingFileIsNamed) {
  EXPECT_THAT(dxf::open("/nonexistent/drawing.dxf"),
              test_support::FailsWith("/nonexistent/drawing.dxf: cannot open: No such file or directory"));
}

}  // namespace
