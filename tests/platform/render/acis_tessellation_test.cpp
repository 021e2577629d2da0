// Bodies made in code, cut and checked against volumes and areas worked out
// by hand: closed bodies must come out closed and turned outward whatever
// senses their faces and coedges carry and wherever their transform puts them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "acad/console.h"
#include "acis_solid_probe.h"
#include "platform/acis/acis_test_support.h"
#include "render/curve_segments.h"
#include "render/lost_faces.h"

using namespace acis_test;

namespace {

constexpr double kPi = std::numbers::pi;
acis::Surface plane(const Vec3& root, const Vec3& normal) {
  acis::Surface s;
  s.kind = acis::SurfaceKind::Plane;
  s.root = root;
  s.normal = normal;
  return s;
}

acis::Surface cylinder(const Vec3& root, const Vec3& axis, double radius) {
  acis::Surface s;
  s.kind = acis::SurfaceKind::Cone;
  s.root = root;
  s.normal = axis;
  s.majorAxis = {radius, 0, 0};
  return s;
}

// The box [0, a] x [0, b] x [0, c]. With `inward` every plane's normal
// points into the box and each face says it is reversed.
acis::Body box(double a, double b, double c, bool inward = false) {
  BodyMaker m;
  int v[8];
  for (int i = 0; i < 8; ++i) v[i] = m.vertex({i & 1 ? a : 0, i & 2 ? b : 0, i & 4 ? c : 0});
  struct Side {
    int corners[4];
    Vec3 normal;
  };
  const Side sides[6] = {{{0, 2, 3, 1}, {0, 0, -1}}, {{4, 5, 7, 6}, {0, 0, 1}},  {{0, 1, 5, 4}, {0, -1, 0}},
                         {{2, 6, 7, 3}, {0, 1, 0}},  {{0, 4, 6, 2}, {-1, 0, 0}}, {{1, 3, 7, 5}, {1, 0, 0}}};
  for (const Side& side : sides) {
    acis::Face& f = m.polygon({v[side.corners[0]], v[side.corners[1]], v[side.corners[2]], v[side.corners[3]]},
                              side.normal);
    if (inward) {
      m.body.surfaces[f.surface].normal = side.normal * -1;
      f.reversed = true;
    }
  }
  return m.body;
}

// A 4 x 4 x h block about the z axis with a hole of radius r through it.
acis::Body boxWithHole(double h, double r) {
  BodyMaker m;
  int v[8];
  for (int i = 0; i < 8; ++i) v[i] = m.vertex({i & 1 ? 2.0 : -2.0, i & 2 ? 2.0 : -2.0, i & 4 ? h : 0});
  int low = m.circle({0, 0, 0}, {0, 0, 1}, r, {1, 0, 0});
  int high = m.circle({0, 0, h}, {0, 0, 1}, r, {1, 0, 0});
  auto square = [&](std::initializer_list<int> corners) {
    std::vector<acis::Coedge> loop;
    std::vector<int> c(corners);
    for (size_t i = 0; i < c.size(); ++i) loop.push_back(m.line(v[c[i]], v[c[(i + 1) % c.size()]]));
    return loop;
  };
  // Bottom and top: the hole runs clockwise about their outward normals.
  m.face(m.surface(plane({0, 0, 0}, {0, 0, -1})), {square({0, 2, 3, 1}), {{low, false}}});
  m.face(m.surface(plane({0, 0, h}, {0, 0, 1})), {square({4, 5, 7, 6}), {{high, true}}});
  m.polygon({v[0], v[1], v[5], v[4]}, {0, -1, 0});
  m.polygon({v[2], v[6], v[7], v[3]}, {0, 1, 0});
  m.polygon({v[0], v[4], v[6], v[2]}, {-1, 0, 0});
  m.polygon({v[1], v[3], v[7], v[5]}, {1, 0, 0});
  // The hole's wall faces the axis: the cylinder's normal reversed.
  m.face(m.surface(cylinder({0, 0, 0}, {0, 0, 1}, r)), {{{low, true}}, {{high, false}}}, true);
  return m.body;
}

void expectClosedOutward(const Facets& f) {
  EXPECT_EQ(f.cut.facesLost, 0);
  EXPECT_EQ(f.unpairedEdges(), 0);
  EXPECT_GT(f.volume(), 0);
}

}  // namespace

TEST(AcisTessellation, BoxIsExactClosedAndOutwardWhicheverWayItsFacesPoint) {
  for (bool inward : {false, true}) {
    Facets f = cut(box(2, 3, 5, inward));
    EXPECT_EQ(f.cut.facesCut, 6);
    expectClosedOutward(f);
    EXPECT_NEAR(f.volume(), 30, 1e-9);
    EXPECT_NEAR(f.area(), 2 * (6 + 15 + 10), 1e-9);
  }
}

TEST(AcisTessellation, AFaceThatIgnoredItsSenseWouldOpenTheBody) {
  acis::Body body = box(1, 1, 1);
  // The bottom says its plane points into the box but is not reversed: its
  // loop then runs the wrong way about it, encloses nothing, and the face
  // is lost rather than turned inward.
  body.surfaces[body.faces[0].surface].normal = {0, 0, 1};
  Facets f = cut(body);
  EXPECT_EQ(f.cut.facesLost, 1);
  EXPECT_EQ(f.cut.reasons, std::vector<std::string>{"loops that enclose nothing on the face's side"});
  EXPECT_EQ(f.unpairedEdges(), 4);
}

TEST(AcisTessellation, TransformScalesTurnsMovesAndMirrors) {
  acis::Body body = box(1, 2, 3);
  body.transform.scale = 1000;
  body.transform.rows[0] = {0, 1, 0};
  body.transform.rows[1] = {-1, 0, 0};
  body.transform.translation = {10, 20, 30};
  Facets scaled = cut(body);
  expectClosedOutward(scaled);
  EXPECT_NEAR(scaled.volume(), 6e9, 1e-3);
  // Box corner (1, 2, 3) lands at 1000 * (1 * (0, 1, 0) + 2 * (-1, 0, 0) + 3 * (0, 0, 1)) + t.
  bool found = false;
  for (const auto& p : scaled.mesh.vertices()) found = found || (p == render::Vec3{-1990, 1020, 3030});
  EXPECT_TRUE(found);

  body.transform = {};
  body.transform.rows[2] = {0, 0, -1};  // a mirror
  Facets mirrored = cut(body);
  expectClosedOutward(mirrored);
  EXPECT_NEAR(mirrored.volume(), 6, 1e-9);
}

TEST(AcisTessellation, HoleThroughABoxSharesItsCirclesWithBothCaps) {
  double h = 3, r = 1;
  Facets f = cut(boxWithHole(h, r));
  EXPECT_EQ(f.cut.facesCut, 7);
  expectClosedOutward(f);
  // The hole is the cut circle's polygon swept up.
  double hole = kPi * r * r * kAreaKept;
  EXPECT_NEAR(f.volume(), (16 - hole) * h, 1e-9);
  double wall = 2 * kPi * r * h, wallKept = std::sin(render::kSegmentStep / 2) / (render::kSegmentStep / 2);
  EXPECT_NEAR(f.area(), 2 * (16 - hole) + 4 * 4 * h + wall * wallKept, 1e-9);
}

namespace {

acis::Surface sphere(const Vec3& center, double radius) {
  acis::Surface s;
  s.kind = acis::SurfaceKind::Sphere;
  s.root = center;
  s.radius = radius;
  s.uDirection = {1, 0, 0};
  s.normal = {0, 0, 1};
  return s;
}

}  // namespace

TEST(AcisTessellation, WholeSphereAndTorusWithoutLoopsAreClosedAndWithinTheRule) {
  for (double sign : {1.0, -1.0}) {
    // An inward sphere on a reversed face is the same solid.
    BodyMaker ball;
    ball.face(ball.surface(sphere({1, 2, 3}, 2 * sign)), {}, sign < 0);
    Facets f = cut(ball.body);
    expectClosedOutward(f);
    expectInBall(f.volume(), 4.0 / 3 * kPi * 8);
    expectInBall(f.area(), 4 * kPi * 4, 2);
  }
  BodyMaker ring;
  acis::Surface torus;
  torus.kind = acis::SurfaceKind::Torus;
  torus.normal = {0, 1, 0};
  torus.uDirection = {0, 0, 1};
  torus.majorRadius = 3;
  torus.minorRadius = 1;
  ring.face(ring.surface(torus), {});
  Facets f = cut(ring.body);
  expectClosedOutward(f);
  expectWithinRule(f.volume(), 2 * kPi * kPi * 3, 2);
  expectWithinRule(f.area(), 4 * kPi * kPi * 3, 2);
}

TEST(AcisTessellation, HemisphereClosesOverItsPoleAndMeetsItsDisc) {
  BodyMaker m;
  int equator = m.circle({0, 0, 0}, {0, 0, 1}, 2, {1, 0, 0});
  m.face(m.surface(sphere({0, 0, 0}, 2)), {{{equator, false}}});
  m.face(m.surface(plane({0, 0, 0}, {0, 0, -1})), {{{equator, true}}});
  Facets f = cut(m.body);
  EXPECT_EQ(f.cut.facesCut, 2);
  expectClosedOutward(f);
  expectInBall(f.volume(), 2.0 / 3 * kPi * 8);
}

TEST(AcisTessellation, ConeClosesAtItsApex) {
  double r = 2, h = 3;
  BodyMaker m;
  int base = m.circle({0, 0, 0}, {0, 0, 1}, r, {1, 0, 0});
  int apex = m.point(m.vertex({0, 0, h}));
  acis::Surface cone = cylinder({0, 0, 0}, {0, 0, 1}, r);
  double slant = std::hypot(r, h);
  cone.sinHalfAngle = -r / slant;  // narrowing along the axis
  cone.cosHalfAngle = h / slant;
  m.face(m.surface(cone), {{{base, false}}, {{apex, false}}});
  m.face(m.surface(plane({0, 0, 0}, {0, 0, -1})), {{{base, true}}});
  Facets f = cut(m.body);
  EXPECT_EQ(f.cut.facesCut, 2);
  expectClosedOutward(f);
  expectWithinRule(f.volume(), kPi * r * r * h / 3, 1);
}

TEST(AcisTessellation, UnreadableFacesAreCountedAndTheRestKept) {
  acis::Body body = box(1, 1, 1);
  body.faces[2].supported = false;
  body.faces[2].reason = "a surface kind this reader does not know";
  body.surfaces[body.faces[3].surface].kind = acis::SurfaceKind::Unsupported;
  Facets f = cut(body);
  EXPECT_EQ(f.cut.facesCut, 4);
  EXPECT_EQ(f.cut.facesLost, 2);
  ASSERT_EQ(f.cut.reasons.size(), 2u);
  EXPECT_EQ(f.cut.reasons[0], "a surface kind this reader does not know");
  EXPECT_EQ(f.mesh.polygons().size(), 8u);  // two triangles for each kept square
}

namespace {

acis::Body readSolid(const std::string& name) {
  acis::ParseResult read = acis_test::parseFile(name);
  EXPECT_TRUE(read.ok) << name << ": " << read.error;
  return read.body;
}

}  // namespace

TEST(AcisTessellation, SolidFilesOfEveryLayoutComeOutAtTheirSize) {
  // The 2 x 3 x 4 box, in old and new layouts, and moved: turned a quarter
  // about z, doubled and shifted by (10, 20, 30) in text and in bytes.
  for (const char* name : {"box.sat", "box_106.sat", "box_400.sat"}) {
    Facets f = cut(readSolid(name));
    expectClosedOutward(f);
    EXPECT_NEAR(f.volume(), 24, 1e-9) << name;
  }
  for (const char* name : {"box_moved.sat", "box_moved.sab", "box_moved_literal.sab"}) {
    Facets f = cut(readSolid(name));
    expectClosedOutward(f);
    EXPECT_NEAR(f.volume(), 24 * 8, 1e-9) << name;
    render::Vec3 low{INFINITY, INFINITY, INFINITY};
    for (const auto& p : f.mesh.vertices()) low = {std::fmin(low.x, p.x), std::fmin(low.y, p.y), std::fmin(low.z, p.z)};
    // The box's x runs along y, its y against x: x from 10 - 2 * 3 up.
    EXPECT_NEAR(low.x, 4, 1e-9) << name;
    EXPECT_NEAR(low.y, 20, 1e-9) << name;
    EXPECT_NEAR(low.z, 30, 1e-9) << name;
  }
  // A 4 x 4 x 2 block with a hole of radius 1.
  Facets holed = cut(readSolid("box_with_hole.sat"));
  expectClosedOutward(holed);
  EXPECT_NEAR(holed.volume(), (16 - kPi * kAreaKept) * 2, 1e-9);
  Facets ball = cut(readSolid("sphere.sat"));
  expectClosedOutward(ball);
  expectInBall(ball.volume(), 4.0 / 3 * kPi * 8);
  Facets ring = cut(readSolid("torus.sat"));
  expectClosedOutward(ring);
  expectWithinRule(ring.volume(), 2 * kPi * kPi * 3, 2);
}

TEST(AcisTessellation, LostFacesAreToldPerEntityWithTheirReasons) {
  render::takeLostFaces();
  render::noteLostFaces(2, {"a spline surface of no use", "an edge whose curve cannot be followed"});
  render::noteLostFaces(1, {"a spline surface of no use"});
  render::LostFaces lost = render::takeLostFaces();
  EXPECT_EQ(render::lostFacesLine("3DSOLID", 0x2F, lost),
            "3DSOLID 2F: 3 face(s) lost: a spline surface of no use; an edge whose curve cannot be followed");
  EXPECT_EQ(render::takeLostFaces().count, 0);
  EXPECT_EQ(render::lostFacesLine("REGION", 0xA0, {0, {"no body"}}), "REGION A0: not read: no body");

  // Only a run that asks for notes hears them, and each entity's only once.
  acad::console::beginCapture();
  render::noteLostFaces(1, {"no surface"});
  render::reportLostFaces("BODY", 0x1B);
  setenv("ARXHOST_FACET_NOTES", "1", 1);
  render::noteLostFaces(1, {"no surface"});
  render::reportLostFaces("BODY", 0x1C);
  render::reportLostFaces("BODY", 0x1D);
  unsetenv("ARXHOST_FACET_NOTES");
  EXPECT_EQ(acad::console::endCapture(), "\nBODY 1C: 1 face(s) lost: no surface");
}
