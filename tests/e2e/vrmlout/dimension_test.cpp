// Dimensions export through the blocks that picture them: their filled
// arrowheads become faces where the drawing shows them.
#include <gmock/gmock.h>

#include <set>
#include <sstream>

#include "support/corpus.h"
#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"

using namespace test_support;

namespace {

// Exports the drawing and returns the point lines of the world, as a set;
// the batch front must report `counts`.
std::set<std::string> exportedPoints(const std::string& drawing, const std::string& options, const char* counts) {
  ScratchDir scratch;
  std::string world = scratch.file("out.wrl");
  ProcessResult run = runCommand("'" + binPath("vrmlout") + "' '" + drawing + "' '" + world + "' " + options + " 2>&1");
  EXPECT_THAT(run.output, testing::HasSubstr(counts));
  std::set<std::string> lines;
  std::istringstream text(readFile(world));
  for (std::string line; std::getline(text, line);) {
    bool point = line.ends_with(",") && line.find(' ') != std::string::npos;  // not a coordIndex line
    if (point) lines.insert(line.substr(line.find_first_not_of('\t')));
  }
  return lines;
}

TEST(DimensionExport, ArrowheadsComeOutWhereTheDimensionsPictureHasThem) {
  SKIP_WITHOUT_CORPUS();
  // A corpus arc dimension: its points are the corners of its block's SOLIDs
  // as ezdxf reads them, in the world's axes.
  std::string drawing = corpusFile("netdxf__sample.dxf");
  std::string corners = runCommand(
                            "/usr/bin/python3 -c \"import ezdxf,sys\n"
                            "d=ezdxf.readfile(sys.argv[1])\n"
                            "snap=lambda x: 0.0 if abs(x)<1e-5 else x\n"
                            "for s in d.blocks[d.entitydb['1CA4'].dxf.geometry].query('SOLID'):\n"
                            "  for v in (s.dxf.vtx0,s.dxf.vtx1,s.dxf.vtx2,s.dxf.vtx3):\n"
                            "    print('%.6f %.6f %.6f,' % (snap(v.x), snap(v.z), snap(-v.y)))\n"
                            "\" '" +
                            drawing + "'")
                            .output;
  std::set<std::string> expected;
  std::istringstream lines(corners);
  for (std::string line; std::getline(lines, line);) expected.insert(line);
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(exportedPoints(drawing, "--select 1CA4", "1 object(s) converted, 0 object(s) ignored"), expected);

  // A drawn linear dimension, its arrows inserted from an arrow block, and
  // one whose block the drawing lacks.
  std::set<std::string> points = exportedPoints(std::string(VRML_TEST_DATA_DIR) + "/vrmlout/dimension.dxf", "--vrml2",
                                                "1 object(s) converted, 1 object(s) ignored");
  EXPECT_EQ(points.size(), 6u) << "two triangles";
  EXPECT_EQ(points.count("0.000000 0.000000 -5.000000,"), 1u) << "the left arrow's tip at the dimension line";
  EXPECT_EQ(points.count("40.000000 0.000000 -5.000000,"), 1u) << "the right arrow's tip";
}

}  // namespace
