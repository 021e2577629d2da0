// A 3DFACE read from a drawing has its corners read while its tags are
// split: the face built from them is the face built from its tags, bit for
// bit, whatever the shape of the values and the order of the codes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "db/database.h"
#include "drawing_file.h"
#include "render/entity_builders.h"
#include "render/entity_view.h"
#include "support/files.h"
#include "support/scratch_dir.h"
#include "support/status_matchers.h"

namespace {

struct Built {
  Acad::ErrorStatus status;
  std::vector<render::Vec3> vertices;
};

Built build(const render::EntityView& view) {
  render::Mesh mesh;
  Acad::ErrorStatus status = render::buildFace3d(view, mesh);
  return {status, mesh.vertices()};
}

bool sameBits(const std::vector<render::Vec3>& a, const std::vector<render::Vec3>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(render::Vec3)) == 0;
}

TEST(FaceCorners, CornersReadWithTheTagsBuildTheFaceTheTagsBuild) {
  // Each face's tags after its group 0, as a writer puts them.
  const std::vector<std::string> faces = {
      " 10\n0.000000\n 20\n0.000000\n 30\n0.000000\n 11\n16.500000\n 21\n0.000000\n 31\n0.259000\n"
      " 12\n16.500000\n 22\n-42.500000\n 32\n0.751000\n 13\n0.000000\n 23\n0.500000\n 33\n-0.0\n",
      // Three corners: the fourth is the third.
      " 10\n1.5\n 20\n2.5\n 30\n3.5\n 11\n4.0\n 21\n5\n 31\n6\n 12\n7.25\n 22\n8\n 32\n9\n",
      // Codes out of order, one repeated (the first counts), axes absent.
      " 32\n1.125\n 13\n2\n 11\n1\n 10\n0.3333333333333333\n 11\n99\n 22\n1\n 23\n1.000000001\n",
      // Values that are no plain decimals, read the general way.
      " 10\n  1.5\n 20\n1e1\n 30\n+2\n 11\n3.\n 21\n.5\n 31\n0\n 12\n1\n 22\n1\n 32\n1 \n",
      // Extended data after the corners, with points of its own.
      " 10\n1\n 20\n2\n 30\n3\n 11\n4\n 21\n5\n 31\n6\n 12\n7\n 22\n8\n 32\n9\n"
      "1001\nAPP\n1010\n5\n1020\n6\n1030\n7\n",
  };
  std::string text = "0\nSECTION\n2\nENTITIES\n";
  for (const std::string& face : faces) text += "0\n3DFACE\n8\n0\n" + face;
  text += "0\nENDSEC\n0\nEOF\n";
  test_support::ScratchDir scratch;
  std::string path = scratch.file("faces.dxf");
  test_support::writeFile(path, text);
  ASSERT_THAT(dxf::open(path), test_support::Succeeds());
  const auto& entities = db::currentDatabase()->entities();
  ASSERT_EQ(entities.size(), faces.size());
  int readWithTags = 0;
  for (size_t i = 0; i < faces.size(); ++i) {
    render::EntityView view;
    ASSERT_TRUE(render::viewOf(*entities[i], view)) << i;
    readWithTags += view.corners.read;
    // The same tags without the corners read: the builder reads the tags.
    render::EntityView tagsOnly(view.type, view.tags);
    Built fromCorners = build(view), fromTags = build(tagsOnly);
    EXPECT_EQ(fromCorners.status, Acad::eOk) << i;
    EXPECT_EQ(fromTags.status, Acad::eOk) << i;
    EXPECT_TRUE(sameBits(fromCorners.vertices, fromTags.vertices)) << i;
  }
  EXPECT_EQ(readWithTags, 4) << "the plain faces are read with their tags, the others are not";
  render::EntityView first;
  ASSERT_TRUE(render::viewOf(*entities.front(), first));
  std::vector<render::Vec3> corners = build(first).vertices;
  ASSERT_EQ(corners.size(), 4u);
  EXPECT_EQ(corners[2].y, -42.5);
  EXPECT_TRUE(std::signbit(corners[3].z));
}

// Read ahead, a face is built from its corners alone: a plain face keeps no
// tags, any other keeps them for its builder, and text that is not tag lines
// is refused as it is when the tags are kept.
TEST(FaceCorners, AFaceReadForItsCornersAloneBuildsAsFromItsTags) {
  const std::vector<std::string> faces = {
      " 10\n0.000000\n 20\n0.000000\n 30\n0.000000\n 11\n16.500000\n 21\n0.000000\n 31\n0.259000\n"
      " 12\n16.500000\n 22\n-42.500000\n 32\n0.751000\n 13\n0.000000\n 23\n0.500000\n 33\n-0.0\n",
      "  8\nWALLS\n 32\n1.125\n 13\n2\n 11\n1\n 10\n0.3333333333333333\n 11\n99\n 22\n1\n",
      " 10\n  1.5\n 20\n1e1\n 30\n+2\n 11\n3.\n 21\n.5\n 31\n0\n 12\n1\n 22\n1\n 32\n1 \n",
      " 10\r\n1\r\n 20\r\n2\r\n 30\r\n3\r\n 11\r\n4\r\n 21\r\n5\r\n 31\r\n6\r\n",
  };
  const bool plain[] = {true, true, false, true};
  for (size_t i = 0; i < faces.size(); ++i) {
    render::TextPlan plan;
    plan.type = "3DFACE";
    plan.length = plan.ownLength = static_cast<uint32_t>(faces[i].size());
    render::EntityView alone, withTags;
    ASSERT_TRUE(render::viewFromPlannedText(plan, faces[i], alone, true)) << i;
    ASSERT_TRUE(render::viewFromPlannedText(plan, faces[i], withTags)) << i;
    EXPECT_EQ(alone.corners.read, plain[i]) << i;
    EXPECT_EQ(alone.tags.empty(), plain[i]) << i;
    EXPECT_EQ(alone.corners.present, withTags.corners.present) << i;
    Built fromCorners = build(alone), fromTags = build(render::EntityView(withTags.type, withTags.tags));
    EXPECT_EQ(fromCorners.status, Acad::eOk) << i;
    EXPECT_TRUE(sameBits(fromCorners.vertices, fromTags.vertices)) << i;
  }
  const std::string broken = " 10\n1.5\n 20\n2.5\nxx\n3.5\n 11\n4.0\n";
  render::TextPlan plan;
  plan.type = "3DFACE";
  plan.length = plan.ownLength = static_cast<uint32_t>(broken.size());
  render::EntityView view;
  EXPECT_FALSE(render::viewFromPlannedText(plan, broken, view, true));
  EXPECT_FALSE(render::viewFromPlannedText(plan, broken, view));
}

}  // namespace
