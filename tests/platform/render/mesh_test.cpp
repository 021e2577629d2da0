// A polygon given by its points: every point becomes a vertex, corners that
// repeat their neighbour merge, and four corners carry their cut, whether
// they came the common way (four distinct corners) or not.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "render/mesh.h"

namespace {

using render::Vec3;

TEST(Mesh, PolygonOfPointsKeepsEveryVertexMergesRepeatsAndCarriesItsCut) {
  const Vec3 a{0, 0, 0}, b{1, 0, 0}, c{1, 1, 0}, d{0, 1, 0}, nan{std::numeric_limits<double>::quiet_NaN(), 0, 0};
  struct Case {
    std::vector<Vec3> points;
    std::vector<int32_t> corners;  // of the one polygon kept, none when dropped
    size_t pieces;
  };
  const Case cases[] = {
      {{a, b, c, d}, {0, 1, 2, 3}, 1},    // a square stays whole
      {{a, c, b, d}, {0, 1, 2, 3}, 2},    // a bow-tie is cut as asked
      {{a, b, c, c}, {0, 1, 2}, 1},       // the fourth on the third
      {{a, b, c, a}, {0, 1, 2}, 1},       // the last back on the first
      {{a, a, b, c}, {0, 2, 3}, 1},       // a repeat is no corner
      {{a, b, b, a}, {}, 0},              // two corners: nothing to fill
      {{a, b, nan, d}, {0, 1, 2, 3}, 2},  // no point equals one not a number
  };
  for (const Case& given : cases) {
    render::Mesh mesh;
    mesh.addVertex({5, 5, 5});  // numbers continue after the vertices held
    mesh.addPolygon(given.points, render::QuadSplit::SecondFourth);
    ASSERT_EQ(mesh.vertices().size(), 1 + given.points.size());
    EXPECT_EQ(std::memcmp(mesh.vertices().data() + 1, given.points.data(), given.points.size() * sizeof(Vec3)), 0);
    ASSERT_EQ(mesh.polygons().size(), given.corners.empty() ? 0u : 1u);
    EXPECT_EQ(mesh.pieceCount(), given.pieces);
    if (given.corners.empty()) continue;
    const render::Polygon& polygon = mesh.polygons().front();
    ASSERT_EQ(static_cast<size_t>(polygon.count), given.corners.size());
    for (size_t i = 0; i < given.corners.size(); ++i) EXPECT_EQ(polygon.corner[i], 1 + given.corners[i]);
    EXPECT_EQ(polygon.cut, given.pieces == 2 ? render::QuadCut::SecondFourth : render::QuadCut::Whole);
  }
}

}  // namespace
