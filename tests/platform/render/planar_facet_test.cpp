// Flat entities, polyline meshes and MESH, checked against areas and boxes
// worked out by hand.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "facet_probe.h"
#include "render/quad_cut.h"

using namespace facet_test;

namespace {
constexpr double kTight = 1e-12;

void expectBox(const Box& box, const Vec3& low, const Vec3& high, double tolerance = kTight) {
  EXPECT_NEAR(box.low.x, low.x, tolerance);
  EXPECT_NEAR(box.low.y, low.y, tolerance);
  EXPECT_NEAR(box.low.z, low.z, tolerance);
  EXPECT_NEAR(box.high.x, high.x, tolerance);
  EXPECT_NEAR(box.high.y, high.y, tolerance);
  EXPECT_NEAR(box.high.z, high.z, tolerance);
}

Tags corners(std::initializer_list<Vec3> points) {
  Tags out;
  int code = 10;
  for (const Vec3& p : points) addPoint(out, code++, p);
  return out;
}
}  // namespace

TEST(FacetPlanar, ThreeDFaceIsAQuadOrATriangleWhenItsLastCornersMeet) {
  Faceted quad = facet("3DFACE", corners({{0, 0, 2}, {1, 0, 2}, {1, 1, 2}, {0, 1, 2}}));
  ASSERT_EQ(quad.status, Acad::eOk);
  ASSERT_EQ(quad.callout.polygonCount(), 1u);
  EXPECT_EQ(quad.callout.polygons()[0].size(), 4u);
  EXPECT_NEAR(quad.callout.area(), 1.0, kTight);
  expectBox(quad.callout.box(), {0, 0, 2}, {1, 1, 2});

  Faceted triangle = facet("3DFACE", corners({{0, 0, 0}, {2, 0, 0}, {0, 2, 0}, {0, 2, 0}}));
  ASSERT_EQ(triangle.status, Acad::eOk);
  ASSERT_EQ(triangle.callout.polygonCount(), 1u);
  EXPECT_EQ(triangle.callout.polygons()[0].size(), 3u);
  EXPECT_NEAR(triangle.callout.area(), 2.0, kTight);

  Faceted threeGiven = facet("3DFACE", corners({{0, 0, 0}, {2, 0, 0}, {0, 2, 0}}));
  ASSERT_EQ(threeGiven.status, Acad::eOk);
  EXPECT_EQ(threeGiven.callout.polygons()[0].size(), 3u);

  Faceted collapsed = facet("3DFACE", corners({{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}}));
  EXPECT_NE(collapsed.status, Acad::eOk);
  EXPECT_EQ(collapsed.callout.polygonCount(), 0u);
}

TEST(FacetPlanar, SolidRunsThroughItsCornersInTheOrderOneTwoFourThree) {
  Faceted solid = facet("SOLID", corners({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}));
  ASSERT_EQ(solid.status, Acad::eOk);
  auto polygons = solid.callout.polygons();
  ASSERT_EQ(polygons.size(), 1u);
  std::vector<Vec3> expected = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  EXPECT_EQ(polygons[0], expected);

  Faceted trace = facet("TRACE", corners({{0, 0, 0}, {4, 0, 0}, {0, 1, 0}, {4, 1, 0}}));
  ASSERT_EQ(trace.status, Acad::eOk);
  EXPECT_NEAR(trace.callout.area(), 4.0, kTight);
}

TEST(FacetPlanar, ThickSolidIsAClosedPrismAlongItsExtrusion) {
  // Extrusion -Z mirrors the object X axis: the square lands on x in [-1, 0].
  Tags t = corners({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}});
  t.push_back({39, "2"});
  addPoint(t, 210, {0, 0, -1});
  Faceted box = facet("SOLID", t);
  ASSERT_EQ(box.status, Acad::eOk);
  EXPECT_EQ(box.callout.polygonCount(), 6u);
  EXPECT_NEAR(box.callout.area(), 2 * 1 + 4 * 2, kTight);
  expectBox(box.callout.box(), {-1, 0, -2}, {0, 1, 0});

  Tags triangle = corners({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  triangle.push_back({39, "1"});
  Faceted wedge = facet("SOLID", triangle);
  ASSERT_EQ(wedge.status, Acad::eOk);
  EXPECT_EQ(wedge.callout.polygonCount(), 5u);  // three walls, two caps
  EXPECT_NEAR(wedge.callout.area(), 0.5 * 2 + 1 + 1 + std::sqrt(2.0), kTight);
}

namespace {
using render::QuadCut;

QuadCut cutOf(std::vector<Vec3> corners, render::QuadSplit split = render::QuadSplit::Inside) {
  return render::quadCut(std::span<const Vec3, 4>(corners.data(), 4), split);
}

bool holds(const std::vector<Vec3>& polygon, const Vec3& p) {
  return std::find(polygon.begin(), polygon.end(), p) != polygon.end();
}
}  // namespace

TEST(FacetPlanar, OnlyFlatStrictlyConvexQuadsStayWholeAndTheCutFollowsTheShape) {
  EXPECT_EQ(cutOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 1e-7}, {0, 1, 0}}), QuadCut::Whole);  // rounding, not twist
  // A reflex or straight corner: the cut runs from it, whichever it is.
  EXPECT_EQ(cutOf({{0, 0, 0}, {4, 0, 0}, {1, 1, 0}, {0, 4, 0}}), QuadCut::FirstThird);
  EXPECT_EQ(cutOf({{4, 0, 0}, {1, 1, 0}, {0, 4, 0}, {0, 0, 0}}), QuadCut::SecondFourth);
  EXPECT_EQ(cutOf({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 1, 0}}), QuadCut::SecondFourth);
  // Bow-ties, also one whose loops cancel out to no vector area.
  EXPECT_NE(cutOf({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}), QuadCut::Whole);
  EXPECT_NE(cutOf({{0, 0, 0}, {3, 0, 0}, {0, 1, 0}, {3, 2, 0}}), QuadCut::Whole);
  // Twisted: along the shorter diagonal.
  EXPECT_EQ(cutOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 0}}), QuadCut::SecondFourth);
  EXPECT_EQ(cutOf({{0, 0, 0}, {1, 0, 1}, {1, 1, 0}, {0, 1, 0}}), QuadCut::FirstThird);
  // Corners on one line have nothing to fill wrongly.
  EXPECT_EQ(cutOf({{0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {1, 0, 0}}), QuadCut::Whole);

  // A dart whose reflex corner is the second: a viewer's fan about the
  // first corner would cover 12, the dart covers 4, over its own 4 points.
  Faceted dart = facet("3DFACE", corners({{4, 0, 0}, {1, 1, 0}, {0, 4, 0}, {0, 0, 0}}));
  ASSERT_EQ(dart.status, Acad::eOk);
  EXPECT_EQ(dart.callout.polygonCount(), 2u);
  EXPECT_NEAR(dart.callout.area(), 4.0, kTight);
  EXPECT_EQ(dart.callout.batches.at(0).vertexCount, 4);
}

TEST(FacetPlanar, SolidThatCannotStayWholeIsFilledAsItsTwoFixedTrianglesInBothCaps) {
  // Corners stored around the perimeter make a bow-tie of the outline
  // 1, 2, 4, 3; the host fills (1, 2, 3) and (2, 4, 3).
  Vec3 c1{0, 0, 0}, c2{1, 0, 0}, c3{1, 1, 0}, c4{0, 1, 0};
  Faceted bowTie = facet("SOLID", corners({c1, c2, c3, c4}));
  std::vector<std::vector<Vec3>> fill = {{c1, c2, c3}, {c2, c4, c3}};
  EXPECT_EQ(bowTie.callout.polygons(), fill);
  // Concave with the inside diagonal 1-4: the fill still runs along 2-3.
  EXPECT_EQ(cutOf({c1, c2, {0.2, 0.2, 0}, c4}, render::QuadSplit::SecondFourth), QuadCut::SecondFourth);

  Tags thick = corners({c1, c2, c3, c4});
  thick.push_back({39, "2"});
  auto polygons = facet("SOLID", thick).callout.polygons();
  ASSERT_EQ(polygons.size(), 8u);  // four whole walls, two caps of two triangles
  for (const auto& polygon : polygons) {
    Vec3 up{0, 0, polygon[0].z};
    bool first = holds(polygon, c1 + up) && holds(polygon, c2 + up) && holds(polygon, c3 + up);
    bool second = holds(polygon, c2 + up) && holds(polygon, c4 + up) && holds(polygon, c3 + up);
    EXPECT_TRUE(polygon.size() == 4 || first || second) << "a cap triangle at z " << up.z << " is no fill triangle";
  }
}

namespace {
Tags vertex(const Vec3& p, int flags, std::initializer_list<int> faceNumbers = {}) {
  Tags out;
  addPoint(out, 10, p);
  out.push_back({70, std::to_string(flags)});
  int code = 71;
  for (int number : faceNumbers) out.push_back({static_cast<int16_t>(code++), std::to_string(number)});
  return out;
}

struct Polyline {
  Tags head;
  std::vector<Tags> vertices;
  render::EntityView view() const {
    render::EntityView v{"POLYLINE", head, {}};
    for (const Tags& t : vertices) v.vertices.push_back(t);
    return v;
  }
};

Polyline unitCubePolyface() {
  Polyline cube;
  cube.head = tags({{66, "1"}, {70, "64"}, {71, "8"}, {72, "6"}});
  for (int i = 0; i < 8; ++i) cube.vertices.push_back(vertex({double(i & 1), double(i >> 1 & 1), double(i >> 2)}, 192));
  // Faces by 1-based numbers; a minus sign only hides an edge.
  int faces[6][4] = {{1, -3, 4, 2}, {5, 6, 8, -7}, {1, 2, 6, 5}, {3, 7, 8, 4}, {1, 5, 7, 3}, {2, 4, 8, 6}};
  for (auto& f : faces) cube.vertices.push_back(vertex({}, 128, {f[0], f[1], f[2], f[3]}));
  return cube;
}
}  // namespace

TEST(FacetPolyline, PolyfaceTakesFacesByVertexNumberAndDropsBrokenOnes) {
  Polyline cube = unitCubePolyface();
  Faceted whole = facet(cube.view());
  ASSERT_EQ(whole.status, Acad::eOk);
  EXPECT_EQ(whole.callout.polygonCount(), 6u);
  EXPECT_NEAR(whole.callout.area(), 6.0, kTight);
  expectBox(whole.callout.box(), {0, 0, 0}, {1, 1, 1});

  cube.vertices.push_back(vertex({}, 128, {1, 2, 9}));     // no vertex 9
  cube.vertices.push_back(vertex({}, 128, {1, 2, 3, 0}));  // a triangle: number 0 is unused
  Faceted more = facet(cube.view());
  ASSERT_EQ(more.status, Acad::eOk);
  EXPECT_EQ(more.callout.polygonCount(), 7u);
  EXPECT_EQ(more.callout.polygons().back().size(), 3u);
}

TEST(FacetPolyline, PolygonMeshMakesQuadsOverItsGridAndClosesWhereFlagged) {
  auto grid = [](int flags, int m, int n) {
    Polyline mesh;
    mesh.head = tags({{70, std::to_string(flags)}, {71, std::to_string(m)}, {72, std::to_string(n)}});
    for (int i = 0; i < m; ++i)
      for (int j = 0; j < n; ++j) mesh.vertices.push_back(vertex({double(j), double(i), 0}, 64));
    return mesh;
  };
  Faceted open = facet(grid(16, 3, 4).view());
  ASSERT_EQ(open.status, Acad::eOk);
  EXPECT_EQ(open.callout.polygonCount(), 6u);
  EXPECT_NEAR(open.callout.area(), 6.0, kTight);

  EXPECT_EQ(facet(grid(16 | 1, 3, 4).view()).callout.polygonCount(), 9u);        // closed in M
  EXPECT_EQ(facet(grid(16 | 32, 3, 4).view()).callout.polygonCount(), 8u);       // closed in N
  EXPECT_EQ(facet(grid(16 | 1 | 32, 3, 4).view()).callout.polygonCount(), 12u);  // both

  Polyline wrongCount = grid(16, 3, 4);
  wrongCount.head = tags({{70, "16"}, {71, "5"}, {72, "4"}});
  EXPECT_EQ(facet(wrongCount.view()).status, Acad::eInvalidInput);
  wrongCount.head = tags({{70, "16"}, {71, "2000000000"}, {72, "2000000000"}});
  EXPECT_EQ(facet(wrongCount.view()).status, Acad::eInvalidInput);
}

TEST(FacetPolyline, SmoothedMeshUsesItsFitGridAndNotItsControlPoints) {
  Polyline mesh;
  // 2 x 2 control points far away, a 3 x 3 fit grid of unit squares.
  mesh.head = tags({{70, "20"}, {71, "2"}, {72, "2"}, {73, "3"}, {74, "3"}, {75, "6"}});
  for (int i = 0; i < 4; ++i) mesh.vertices.push_back(vertex({100.0 + i, 100, 100}, 64 | 16));
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) mesh.vertices.push_back(vertex({double(j), double(i), 0}, 64 | 8));
  Faceted smooth = facet(mesh.view());
  ASSERT_EQ(smooth.status, Acad::eOk);
  EXPECT_EQ(smooth.callout.polygonCount(), 4u);
  expectBox(smooth.callout.box(), {0, 0, 0}, {2, 2, 0});

  // Fit vertices that make no grid of the density: the control points make it.
  mesh.vertices.pop_back();
  Faceted control = facet(mesh.view());
  ASSERT_EQ(control.status, Acad::eOk);
  EXPECT_EQ(control.callout.polygonCount(), 1u);
  expectBox(control.callout.box(), {100, 100, 100}, {103, 100, 100});
}

TEST(FacetPolyline, ThreeDPolylineHasNoSurfaceAndTwoDOneNeedsThickness) {
  Polyline curve;
  curve.head = tags({{70, "8"}});
  curve.vertices = {vertex({0, 0, 0}, 32), vertex({1, 0, 5}, 32)};
  EXPECT_EQ(facet(curve.view()).status, Acad::eDegenerateGeometry);

  Polyline flat;
  flat.head = tags({{70, "1"}, {30, "0"}});
  flat.vertices = {vertex({0, 0, 0}, 0), vertex({2, 0, 0}, 0), vertex({2, 2, 0}, 0), vertex({0, 2, 0}, 0)};
  EXPECT_EQ(facet(flat.view()).status, Acad::eDegenerateGeometry);

  // With thickness 3 and elevation 1: four walls of 2 x 3; frame control
  // points of a spline are not part of the outline.
  flat.head = tags({{10, "0"}, {20, "0"}, {30, "1"}, {39, "3"}, {70, "1"}});
  flat.vertices.push_back(vertex({50, 50, 0}, 16));
  Faceted walls = facet(flat.view());
  ASSERT_EQ(walls.status, Acad::eOk);
  EXPECT_EQ(walls.callout.polygonCount(), 4u);
  EXPECT_NEAR(walls.callout.area(), 24.0, kTight);
  expectBox(walls.callout.box(), {0, 0, 1}, {2, 2, 4});
}

TEST(FacetMesh, ControlMeshFacesOfAnySizeAreCutToQuadsAndTriangles) {
  // A pentagonal pyramid: one five-cornered base and five triangles.
  Tags t = tags({{100, "AcDbEntity"}, {92, "16"}, {100, "AcDbSubDMesh"}, {71, "2"}, {72, "0"}, {91, "0"}, {92, "6"}});
  for (int i = 0; i < 5; ++i) {
    double a = 2 * std::numbers::pi * i / 5;
    addPoint(t, 10, {std::cos(a), std::sin(a), 0});
  }
  addPoint(t, 10, {0, 0, 1});
  std::vector<int> list = {5, 4, 3, 2, 1, 0};
  for (int i = 0; i < 5; ++i) list.insert(list.end(), {3, i, (i + 1) % 5, 5});
  list.insert(list.end(), {3, 0, 1, 9});  // refers to no vertex: dropped
  t.push_back({93, std::to_string(list.size())});
  for (int v : list) t.push_back({90, std::to_string(v)});
  Faceted pyramid = facet("MESH", t);
  ASSERT_EQ(pyramid.status, Acad::eOk);
  EXPECT_EQ(pyramid.callout.polygonCount(), 7u);  // base as a quad and a triangle
  double side = 2 * std::sin(std::numbers::pi / 5);
  double apothem = std::cos(std::numbers::pi / 5);
  double base = 5 * side * apothem / 2;
  double slant = std::sqrt(apothem * apothem + 1);
  EXPECT_NEAR(pyramid.callout.area(), base + 5 * side * slant / 2, kTight);

  t[t.size() - 1 - list.size()].value = std::to_string(list.size() + 5);  // more than there is
  EXPECT_EQ(facet("MESH", t).status, Acad::eInvalidInput);
}
