// A polygon given by its points: every corner becomes a vertex, corners that
// repeat their neighbour merge, and a quadrilateral carries its cut, whether
// it came the common way (four distinct corners) or not.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "render/mesh.h"

namespace {

using render::Mesh;
using render::QuadCut;
using render::QuadSplit;
using render::Vec3;

struct Counted : render::PolygonDrain {
  size_t taken = 0;
  void take(Mesh& mesh) override {
    taken += mesh.polygons().size();
    mesh.dropPolygons();
  }
};

TEST(Mesh, PolygonOfPointsKeepsEveryVertexAndMergesRepeatedNeighbours) {
  const Vec3 a{0, 0, 0}, b{1, 0, 0}, c{1, 1, 0}, d{0, 1, 0};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    std::vector<Vec3> points;
    std::vector<int32_t> corners;  // of the one polygon kept, none when dropped
  };
  const Case cases[] = {
      {{a, b, c, d}, {0, 1, 2, 3}},
      {{a, b, c, c}, {0, 1, 2}},               // the fourth on the third: a triangle
      {{a, b, c, a}, {0, 1, 2}},               // the last back on the first
      {{a, a, b, c}, {0, 2, 3}},               // a repeat is not a vertex of the polygon
      {{a, b, b, a}, {}},                      // two corners left: nothing to fill
      {{a, b, {nan, 0, 0}, d}, {0, 1, 2, 3}},  // no point equals one not a number
  };
  for (const Case& c : cases) {
    Mesh mesh;
    mesh.addVertex({5, 5, 5});  // numbers continue after vertices held
    mesh.addPolygon(c.points);
    ASSERT_EQ(mesh.vertexCount(), 1 + c.points.size());
    for (size_t i = 0; i < c.points.size(); ++i)
      EXPECT_EQ(std::memcmp(&mesh.vertex(static_cast<int32_t>(1 + i)), &c.points[i], sizeof(Vec3)), 0);
    if (c.corners.empty()) {
      EXPECT_TRUE(mesh.polygons().empty());
      continue;
    }
    ASSERT_EQ(mesh.polygons().size(), 1u);
    const render::Polygon& polygon = mesh.polygons().front();
    ASSERT_EQ(static_cast<size_t>(polygon.count), c.corners.size());
    for (size_t i = 0; i < c.corners.size(); ++i) EXPECT_EQ(polygon.corner[i], 1 + c.corners[i]);
    EXPECT_EQ(mesh.pieceCount(), polygon.cut == QuadCut::Whole ? 1u : 2u);
  }
}

TEST(Mesh, FourCornersCarryTheirCutAndGoToTheDrainAsTheyFill) {
  // A bow-tie must be cut along the split asked for; a square stays whole.
  const Vec3 bowTie[4] = {{0, 0, 0}, {1, 1, 0}, {1, 0, 0}, {0, 1, 0}};
  const Vec3 square[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  Mesh mesh;
  mesh.addPolygon(bowTie, QuadSplit::SecondFourth);
  mesh.addPolygon(square, QuadSplit::SecondFourth);
  ASSERT_EQ(mesh.polygons().size(), 2u);
  EXPECT_EQ(mesh.polygons()[0].cut, render::quadCut(bowTie, QuadSplit::SecondFourth));
  EXPECT_EQ(mesh.polygons()[0].cut, QuadCut::SecondFourth);
  EXPECT_EQ(mesh.polygons()[1].cut, QuadCut::Whole);
  EXPECT_EQ(mesh.pieceCount(), 3u);

  Counted drain;
  Mesh drained;
  drained.drainInto(&drain);
  for (size_t i = 0; i < Mesh::kDrainAt + 1; ++i) drained.addPolygon(square);
  EXPECT_EQ(drain.taken, Mesh::kDrainAt);
  EXPECT_EQ(drained.polygons().size(), 1u);
  EXPECT_EQ(drained.vertexCount(), 4 * (Mesh::kDrainAt + 1));
}

}  // namespace
