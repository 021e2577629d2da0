// One drawing for each fault the host repairs on loading, written with the
// fault on purpose (tests/data/reliability/): opened in the host, saved,
// reopened and saved again. The user is told once what was repaired, the
// independent DXF library finds the original at fault and the saved drawing
// clean, and the saved drawing holds the original's tags plus exactly the
// repair.
#include <gmock/gmock.h>

#include <sstream>

#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"

using namespace test_support;

namespace {

struct RepairCase {
  const char* drawing;          // in tests/data/reliability
  const char* notice;           // what the host says after the file's name
  const char* original;         // the library's audit of the original
  const char* repairs;          // what the comparison finds added
  const char* dimensions = "";  // the measured texts of the dimension blocks drawn
};

std::ostream& operator<<(std::ostream& out, const RepairCase& repair) { return out << repair.drawing; }

std::string lineOf(const std::string& report, const std::string& start) {
  std::istringstream lines(report);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(start, 0) == 0) return line;
  return "";
}

size_t occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class DrawingRepair : public ::testing::TestWithParam<RepairCase> {};

TEST_P(DrawingRepair, TheUserIsToldAndTheSavedDrawingAuditsClean) {
  const RepairCase& repair = GetParam();
  const std::string original = std::string(VRML_TEST_DATA_DIR) + "/reliability/" + repair.drawing;
  ScratchDir scratch;
  const std::string saved = scratch.file("saved.dxf"), resaved = scratch.file("resaved.dxf");
  ProcessResult session = runHost("--batch '" + original + "'",
                                  "SAVEAS\n" + saved + "\nOPEN\n" + saved + "\nSAVEAS\n" + resaved + "\n");
  ASSERT_EQ(session.status, 0) << session.output;

  EXPECT_THAT(session.output, testing::HasSubstr("\n" + original + ": " + repair.notice + "\n"));
  EXPECT_EQ(occurrences(session.output, "repaired on loading"), 1u) << "the saved drawing needs no repair\n"
                                                                    << session.output;
  EXPECT_TRUE(readFile(resaved) == readFile(saved)) << "reopened and saved again, it changed";

  std::string report = runCommand("/usr/bin/python3 '" VRML_SOURCE_DIR "/tests/tools/dxf_round_trip.py' '" + original +
                                  "' '" + saved + "' 2>&1")
                           .output;
  EXPECT_EQ(lineOf(report, "original "), repair.original) << report;
  EXPECT_EQ(lineOf(report, "saved "), "saved errors 0 fixes 0") << report;
  EXPECT_EQ(lineOf(report, "tags "), lineOf(report, "tags same")) << report;
  EXPECT_EQ(lineOf(report, "repairs "), repair.repairs) << report;
  EXPECT_EQ(lineOf(report, "dimension text"), repair.dimensions) << report;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DrawingRepair,
    ::testing::Values(
        // A LINE on layer WALLS (and one on "walls") with linetype DASHED2, a
        // TEXT in style ROMANX: none of them in the tables, whose counts
        // were exact. CONTINUOUS is there as "Continuous".
        RepairCase{"undefined_names_r12.dxf",
                   "repaired on loading: 1 layer entry added, 1 linetype entry added, 1 text style entry added, "
                   "3 table counts corrected.",
                   "original errors 0 fixes 2",
                   "repairs added LAYER 1, added LTYPE 1, added STYLE 1, handle seed 1, "
                   "table count 3"},
        RepairCase{"undefined_names_r2000.dxf",
                   "repaired on loading: 1 layer entry added, 1 linetype entry added, 1 text style entry added, "
                   "3 table counts corrected.",
                   "original errors 0 fixes 2",
                   "repairs added LAYER 1, added LTYPE 1, added STYLE 1, handle seed 1, "
                   "table count 3"},
        // The same written as a binary drawing file.
        RepairCase{"undefined_names_r2000_binary.dxf",
                   "repaired on loading: 1 layer entry added, 1 linetype entry added, 1 text style entry added, "
                   "3 table counts corrected.",
                   "original errors 0 fixes 2",
                   "repairs added LAYER 1, added LTYPE 1, added STYLE 1, handle seed 1, "
                   "table count 3"},
        // The ACAD_GROUP dictionary without an owner (the root names it),
        // the LINE's extension dictionary with owner 0 (the LINE hard-owns
        // it), the XRECORD in it without an owner.
        RepairCase{"ownerless_objects_r2000.dxf", "repaired on loading: 3 objects given their owners.",
                   "original errors 0 fixes 3", "repairs owner 3"},
        // A linear, an aligned, a diameter and a radius DIMENSION that name
        // no block, their blocks gone: each gets its picture drawn.
        RepairCase{"dimensions_without_blocks_r12.dxf", "repaired on loading: 4 dimensions given their picture blocks.",
                   "original errors 0 fixes 4",
                   "repairs added BLOCK 4, added ENDBLK 4, added LINE 8, added SOLID 7, added TEXT 4, "
                   "dimension block 4, handle seed 1",
                   "dimension texts agree 4"},
        RepairCase{"dimensions_without_blocks_r2000.dxf",
                   "repaired on loading: 4 dimensions given their picture blocks.", "original errors 0 fixes 4",
                   "repairs added BLOCK 4, added BLOCK_RECORD 4, added ENDBLK 4, added LINE 8, added SOLID 7, "
                   "added TEXT 4, dimension block 4, handle seed 1",
                   "dimension texts agree 4"},
        // The root dictionary names LOST_SETTINGS at handle 2F0, which no
        // object has, above the drawing's $HANDSEED.
        RepairCase{"dangling_dictionary_entry_r2000.dxf",
                   "repaired on loading: 1 empty object added for a dictionary entry.", "original errors 0 fixes 1",
                   "repairs added XRECORD 1, handle seed 1"}),
    [](const ::testing::TestParamInfo<RepairCase>& info) {
      std::string name = info.param.drawing;
      name = name.substr(0, name.find('.'));
      return name;
    });

}  // namespace
