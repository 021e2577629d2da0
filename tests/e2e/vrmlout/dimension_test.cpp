// Dimensions export through the blocks that picture them: their filled
// arrowheads become faces where the drawing shows them.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "../../platform/dxf/dxf_test_support.h"
#include "../host/run_host.h"

namespace {

// Exports the drawing to out.wrl in `scratch`, whose path it returns; the
// batch front must succeed and report `counts`.
std::string exported(dxf_test::ScratchDir& scratch, const std::string& drawing, const std::string& options,
                     const std::string& counts) {
  std::string world = scratch.file("out.wrl");
  ProcessResult run = runCommand("'" + binPath("vrmlout") + "' '" + drawing + "' '" + world + "' " + options + " 2>&1");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find(counts), std::string::npos) << run.output;
  return world;
}

// The point lines of a world file, as a set.
std::set<std::string> pointLines(const std::string& world) {
  std::set<std::string> lines;
  std::istringstream text(world);
  bool inPoints = false;
  for (std::string line; std::getline(text, line);) {
    size_t start = line.find_first_not_of('\t');
    std::string bare = start == std::string::npos ? "" : line.substr(start);
    if (bare == "point[") inPoints = true;
    else if (bare == "]") inPoints = false;
    else if (inPoints) lines.insert(bare);
  }
  return lines;
}

// The corners of the SOLIDs of a dimension's block, as ezdxf reads them,
// in the world file's axes and number format.
std::set<std::string> arrowheadCorners(const std::string& drawing, const std::string& handle) {
  std::string script =
      "import ezdxf,sys\n"
      "d=ezdxf.readfile(sys.argv[1])\n"
      "snap=lambda x: 0.0 if abs(x)<1e-5 else x\n"
      "for s in d.blocks[d.entitydb[sys.argv[2]].dxf.geometry].query('SOLID'):\n"
      "  for v in (s.dxf.vtx0,s.dxf.vtx1,s.dxf.vtx2,s.dxf.vtx3):\n"
      "    print('%.6f %.6f %.6f,' % (snap(v.x), snap(v.z), snap(-v.y)))\n";
  std::string output = runCommand("/usr/bin/python3 -c \"" + script + "\" '" + drawing + "' " + handle).output;
  std::set<std::string> lines;
  std::istringstream text(output);
  for (std::string line; std::getline(text, line);) lines.insert(line);
  return lines;
}

TEST(DimensionExport, ACorpusArcDimensionGivesItsArrowheadsWhereTheBlockHasThem) {
  std::string drawing = dxf_test::corpusFile("netdxf__sample.dxf");
  dxf_test::ScratchDir scratch;
  std::string world = exported(scratch, drawing, "--select 1CA4", "1 object(s) converted, 0 object(s) ignored");
  std::set<std::string> expected = arrowheadCorners(drawing, "1CA4");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(pointLines(dxf_test::readFile(world)), expected);
}

TEST(DimensionExport, ADrawnDimensionExportsAndOneWithoutItsBlockIsIgnored) {
  std::string drawing = std::string(VRML_TEST_DATA_DIR) + "/vrmlout/dimension.dxf";
  dxf_test::ScratchDir scratch;
  std::string world = exported(scratch, drawing, "--vrml2", "1 object(s) converted, 1 object(s) ignored");
  ProcessResult check = runCommand("'" + binPath("vrmlcheck") + "' '" + world + "'");
  // Two arrowheads, each a triangle of an arrow block inserted in the picture.
  EXPECT_NE(check.output.find("shapes 1\npoints 6\nfaces 2\n"), std::string::npos) << check.output;
  std::set<std::string> points = pointLines(dxf_test::readFile(world));
  EXPECT_EQ(points.count("0.000000 0.000000 -5.000000,"), 1u) << "the left arrow's tip at the dimension line";
  EXPECT_EQ(points.count("40.000000 0.000000 -5.000000,"), 1u) << "the right arrow's tip";
}

}  // namespace
