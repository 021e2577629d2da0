// Four-corner faces that a viewer would fill wrongly as one convex polygon:
// where they are cut, and that the two triangles cover what the face covers.
#include <algorithm>

#include "facet_probe.h"
#include "render/quad_cut.h"

using namespace facet_test;
using acre_detail::QuadCut;
using acre_detail::QuadSplit;

namespace {
constexpr double kTight = 1e-12;

QuadCut cutOf(std::initializer_list<Vec3> corners, QuadSplit split = QuadSplit::Inside) {
  std::vector<Vec3> points(corners);
  return acre_detail::quadCut(std::span<const Vec3, 4>(points.data(), 4), split);
}

Tags corners(std::initializer_list<Vec3> points) {
  Tags out;
  int code = 10;
  for (const Vec3& p : points) addPoint(out, code++, p);
  return out;
}

bool holds(const std::vector<Vec3>& polygon, const Vec3& p) {
  return std::find(polygon.begin(), polygon.end(), p) != polygon.end();
}
}  // namespace

TEST(QuadCut, OnlyFlatStrictlyConvexQuadsStayWholeAndTheCutFollowsTheShape) {
  EXPECT_EQ(cutOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}), QuadCut::Whole);
  // A twist well inside the tolerance is rounding, not shape.
  EXPECT_EQ(cutOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 1e-7}, {0, 1, 0}}), QuadCut::Whole);
  // A reflex corner: the cut runs from it, whichever corner it is.
  EXPECT_EQ(cutOf({{0, 0, 0}, {4, 0, 0}, {1, 1, 0}, {0, 4, 0}}), QuadCut::FirstThird);
  EXPECT_EQ(cutOf({{4, 0, 0}, {1, 1, 0}, {0, 4, 0}, {0, 0, 0}}), QuadCut::SecondFourth);
  // A straight corner: cut from it, so that neither triangle is empty.
  EXPECT_EQ(cutOf({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 1, 0}}), QuadCut::SecondFourth);
  // A bow-tie, even one whose two loops cancel out to no vector area.
  EXPECT_NE(cutOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}), QuadCut::Whole);
  EXPECT_NE(cutOf({{0, 0, 0}, {3, 0, 0}, {0, 1, 0}, {3, 2, 0}}), QuadCut::Whole);
  // Twisted: along the shorter diagonal.
  EXPECT_EQ(cutOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 0}}), QuadCut::SecondFourth);
  EXPECT_EQ(cutOf({{0, 0, 0}, {1, 0, 1}, {1, 1, 0}, {0, 1, 0}}), QuadCut::FirstThird);
  // A fixed split is taken whenever a cut is needed, and only then.
  EXPECT_EQ(cutOf({{0, 0, 0}, {4, 0, 0}, {1, 1, 0}, {0, 4, 0}}, QuadSplit::SecondFourth), QuadCut::SecondFourth);
  EXPECT_EQ(cutOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, QuadSplit::SecondFourth), QuadCut::Whole);
  // Without area there is nothing to fill wrongly.
  EXPECT_EQ(cutOf({{0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {1, 0, 0}}), QuadCut::Whole);
}

TEST(QuadCut, ConcaveAndTwistedFacesBecomeTwoTrianglesOverTheSameCorners) {
  // A dart whose reflex corner is the second: a fan about the first corner
  // would cover 12 square units, the dart covers 4.
  Faceted dart = facet("3DFACE", corners({{4, 0, 0}, {1, 1, 0}, {0, 4, 0}, {0, 0, 0}}));
  ASSERT_EQ(dart.status, Acad::eOk);
  ASSERT_EQ(dart.callout.polygonCount(), 2u);
  EXPECT_NEAR(dart.callout.area(), 4.0, kTight);
  ASSERT_EQ(dart.callout.batches.size(), 1u);
  EXPECT_EQ(dart.callout.batches[0].vertexCount, 4) << "the corners are shared, not repeated";

  Faceted twisted = facet("3DFACE", corners({{0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 0}}));
  ASSERT_EQ(twisted.status, Acad::eOk);
  auto halves = twisted.callout.polygons();
  ASSERT_EQ(halves.size(), 2u);
  for (const auto& half : halves) {
    EXPECT_EQ(half.size(), 3u);
    EXPECT_TRUE(holds(half, {1, 0, 0}) && holds(half, {0, 1, 0})) << "cut along the shorter diagonal";
  }

  // Polygon mesh quads are judged one by one: a flat cell stays whole.
  Faceted flat = facet("3DFACE", corners({{0, 0, 5}, {2, 0, 5}, {2, 3, 5}, {0, 3, 5}}));
  EXPECT_EQ(flat.callout.polygons().at(0).size(), 4u);
}

TEST(QuadCut, SolidsThatCannotStayWholeAreFilledAsTheirTwoFixedTriangles) {
  // Corners stored around the perimeter make a bow-tie of the outline
  // 1, 2, 4, 3; the host fills (1, 2, 3) and (2, 4, 3).
  Vec3 c1{0, 0, 0}, c2{1, 0, 0}, c3{1, 1, 0}, c4{0, 1, 0};
  Faceted bowTie = facet("SOLID", corners({c1, c2, c3, c4}));
  ASSERT_EQ(bowTie.status, Acad::eOk);
  std::vector<std::vector<Vec3>> fill = {{c1, c2, c3}, {c2, c4, c3}};
  EXPECT_EQ(bowTie.callout.polygons(), fill);

  // A concave SOLID whose inside diagonal is 1-4 still takes the host's fill.
  Faceted concave = facet("TRACE", corners({{0, 0, 0}, {4, 0, 0}, {0, 4, 0}, {1, 1, 0}}));
  ASSERT_EQ(concave.status, Acad::eOk);
  for (const auto& half : concave.callout.polygons())
    EXPECT_TRUE(holds(half, {4, 0, 0}) && holds(half, {0, 4, 0})) << "cut from corner 2 to corner 3";

  // With thickness both caps are cut the same way; the walls stay whole.
  Tags thick = corners({c1, c2, c3, c4});
  thick.push_back({39, "2"});
  Faceted prism = facet("SOLID", thick);
  ASSERT_EQ(prism.status, Acad::eOk);
  auto polygons = prism.callout.polygons();
  ASSERT_EQ(polygons.size(), 8u);  // four walls, two caps of two triangles
  size_t walls = 0;
  for (const auto& polygon : polygons) {
    if (polygon.size() == 4) {
      ++walls;
      continue;
    }
    double z = polygon[0].z;
    Vec3 up{0, 0, z};
    bool first = holds(polygon, c1 + up) && holds(polygon, c2 + up) && holds(polygon, c3 + up);
    bool second = holds(polygon, c2 + up) && holds(polygon, c4 + up) && holds(polygon, c3 + up);
    EXPECT_TRUE(first || second) << "a cap triangle at z " << z << " is not a fill triangle";
  }
  EXPECT_EQ(walls, 4u);
}
