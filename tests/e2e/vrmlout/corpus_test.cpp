// Every drawing of the corpus through the batch export, in both versions:
// no failure, a world file every VRML reader takes, no face declared convex
// that is not, and the counts recorded per file.
#include <gmock/gmock.h>

#include <filesystem>
#include <sstream>

#include "support/corpus.h"
#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"

using namespace test_support;

namespace {

// "converted ignored" as the batch export reports them, else "failed" and what it printed.
std::string exportCounts(const std::string& drawing, const std::string& world, const char* version) {
  ProcessResult run = runCommand("'" + binPath("vrmlout") + "' '" + drawing + "' '" + world + "' " + version + " 2>&1");
  size_t at = run.output.find(world + ": ");
  unsigned converted = 0, ignored = 0;
  if (run.status != 0 || at == std::string::npos ||
      std::sscanf(run.output.c_str() + at + world.size(), ": %u object(s) converted, %u object(s) ignored", &converted,
                  &ignored) != 2)
    return "failed\n" + run.output;
  return std::to_string(converted) + " " + std::to_string(ignored);
}

// The faces the shape check is given: a square, a dart, a bow-tie whose
// loops cancel, a twisted square, and a square whose corners carry the
// writer's rounding.
const char* const kPoints =
    "0 0 0, 1 0 0, 1 0 -1, 0 0 -1,  4 0 0, 1 0 -1, 0 0 -4, 0 0 0,  0 0 0, 1 0 0, 0 0 -1, 1 0 -1,"
    "0 0 0, 1 0 0, 1 1 -1, 0 0 -1,  1000.000001 0 0, 1001 0 0, 1001 0 -1, 1000 0.000001 -1";
const char* const kFaces = "0,1,2,3,-1, 4,5,6,7,-1, 8,9,10,11,-1, 12,13,14,15,-1, 16,17,18,19,-1";

std::string judged(const std::string& path, const std::string& world) {
  writeFile(path, world);
  return runCommand("'" + binPath("vrmlcheck") + "' --convex '" + path + "'").output;
}

TEST(CorpusExport, TheShapeCheckFindsReflexBowTieAndTwistedFacesDeclaredConvex) {
  ScratchDir scratch;
  auto world1 = [](const char* faceType) {
    return std::string("#VRML V1.0 ascii\nSeparator {\nShapeHints { faceType ") + faceType +
           " }\nCoordinate3 { point [" + kPoints + "] }\nIndexedFaceSet { coordIndex [" + kFaces + "] }\n}\n";
  };
  auto world2 = [](const char* convex) {
    return std::string("#VRML V2.0 utf8\nShape { geometry IndexedFaceSet { convex ") + convex +
           " coord Coordinate { point [" + kPoints + "] } coordIndex [" + kFaces + "] } }\n";
  };
  const std::string flagged = "faces 5\nbadindex 0\nnonconvex 2\nnonplanar 1\n";
  EXPECT_THAT(judged(scratch.file("convex1.wrl"), world1("CONVEX")), testing::HasSubstr(flagged));
  EXPECT_THAT(judged(scratch.file("convex2.wrl"), world2("TRUE")), testing::HasSubstr(flagged));
  // Faces not declared convex are not judged.
  const std::string unjudged = "faces 5\nbadindex 0\nnonconvex 0\nnonplanar 0\n";
  EXPECT_THAT(judged(scratch.file("unknown1.wrl"), world1("UNKNOWN_FACE_TYPE")), testing::HasSubstr(unjudged));
  EXPECT_THAT(judged(scratch.file("concave2.wrl"), world2("FALSE")), testing::HasSubstr(unjudged));
}

TEST(CorpusExport, EveryDrawingExportsToWorldsThatParseWithConvexFacesOnly) {
  SKIP_WITHOUT_CORPUS();
  std::vector<std::filesystem::path> drawings = corpusDrawings();
  ASSERT_FALSE(drawings.empty());

  ScratchDir scratch;
  std::ostringstream counts;
  for (const auto& drawing : drawings) {
    std::string result;
    for (const char* version : {"", "--vrml2"}) {
      std::string world = scratch.file(drawing.stem().string() + (*version ? ".2.wrl" : ".1.wrl"));
      std::string counted = exportCounts(drawing.string(), world, version);
      // Both versions take the same objects.
      if (*version) {
        EXPECT_EQ(counted, result) << drawing;
      }
      result = counted;
      if (result.starts_with("failed")) continue;
      ProcessResult check = runCommand("'" + binPath("vrmlcheck") + "' --convex '" + world + "'");
      EXPECT_EQ(check.status, 0) << world << "\n" << check.output;
      EXPECT_THAT(check.output, testing::HasSubstr("badindex 0\nnonconvex 0\nnonplanar 0\n")) << world << "\n"
                                                                                              << check.output;
    }
    counts << drawing.filename().string() << " " << result << "\n";
  }
  std::string expected = readFile(std::string(VRML_TEST_DATA_DIR) + "/vrmlout/corpus_counts.txt");
  EXPECT_EQ(counts.str(), expected) << "converted and ignored objects per drawing changed";
}

}  // namespace
