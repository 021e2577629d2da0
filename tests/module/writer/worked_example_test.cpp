#include <gtest/gtest.h>

#include "acadmem.h"
#include "heap_faults.h"
#include "support/files.h"
#include "support/scratch_dir.h"
#include "world_file.h"
#include "wrl_file.h"
#include "wrl_fobj.h"
#include "wrl_mat.h"
#include "wrl_url.h"

namespace {

// The published example: scale 0.001, object 1 linked to room2.wrl ("Door"),
// red diffuse from the colour index, one triangle.
void writeWorkedExample(const std::string& path, int version) {
  WrlUrl url;
  url.setUrl("room2.wrl");
  url.setDescription("Door");
  WrlMaterial material;
  WrlColor red;
  red.setIndex(1);
  material.setDiffuseColor(red);
  WrlFaceObject object;
  auto* points = new WrlPointList;
  points->add(WrlPoint(0, 0, 0));
  points->add(WrlPoint(1, 0, 0));
  points->add(WrlPoint(0, 1, 0));  // drawing Y becomes -Z
  object.appendPoints(points);
  auto* faces = new WrlFaceList;
  WrlFace face;
  face.setCount(3);
  for (int corner = 0; corner < 3; ++corner) face.setCorner(corner, corner);
  faces->add(face);
  object.appendFaces(faces);

  WrlFile file;
  ASSERT_EQ(file.setVersion(static_cast<WrlVersion>(version)), 1);
  ASSERT_EQ(file.open(path.c_str()), 1);
  EXPECT_EQ(file.writeHeader(), 1);
  EXPECT_EQ(file.writeScale(0.001), 1);
  EXPECT_EQ(file.writeAnchor(url), 1);
  EXPECT_EQ(file.level(), 1);
  EXPECT_EQ(file.beginObject(1), 1);
  EXPECT_EQ(file.level(), 2);
  EXPECT_EQ(file.writeMaterial(material), 1);
  EXPECT_EQ(file.writeFaceObject(object), 1);
  EXPECT_EQ(file.level(), 1);
  EXPECT_EQ(file.closeObjects(), 1);
  EXPECT_EQ(file.level(), 0);
  EXPECT_EQ(file.childrenOpen(), 0);
  EXPECT_EQ(file.close(), 1);
  url.clear();
}

class WorkedExample : public ::testing::TestWithParam<int> {
 protected:
  test_support::ScratchDir scratch;
  std::string path = scratch.file("example.wrl");
};

}  // namespace

TEST_P(WorkedExample, MatchesThePublishedFileByteForByteAndParses) {
  auto before = acad::heap::stats().liveBlocks;
  writeWorkedExample(path, GetParam());
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);

  const char* expected = GetParam() == 2 ? "/writer/worked_example_v2.wrl" : "/writer/worked_example_v1.wrl";
  EXPECT_EQ(test_support::readFile(path), test_support::readFile(std::string(VRML_TEST_DATA_DIR) + expected));

  world_file::Check check = world_file::vrmlcheck(path);
  EXPECT_EQ(check.status, 0) << check.facts;
  EXPECT_EQ(check.facts, "version " + std::to_string(GetParam()) +
                             "\nshapes 1\npoints 3\nfaces 1\nbadindex 0\nurl \"room2.wrl\"\ndescription \"Door\"\n");
}

INSTANTIATE_TEST_SUITE_P(BothVersions, WorkedExample, ::testing::Values(1, 2));
