// The small solids of tests/data/acis, written in each version layout and
// in both forms, read into the model they describe.
#include <numbers>

#include "acis_test_support.h"

using namespace acis_test;

namespace {

void expectBox(const acis::ParseResult& read, const std::string& what) {
  ASSERT_TRUE(read.ok) << what << ": " << read.error;
  const acis::Body& body = read.body;
  EXPECT_EQ(body.faces.size(), 6u) << what;
  EXPECT_EQ(body.vertices.size(), 8u) << what;
  EXPECT_EQ(body.edges.size(), 12u) << what;
  EXPECT_TRUE(body.isSolid) << what;
  ASSERT_EQ(body.shells.size(), 1u) << what;
  EXPECT_EQ(body.shells[0].faceCount, 6) << what;
  for (const acis::Face& face : body.faces) {
    EXPECT_TRUE(face.supported) << what << ": " << face.reason;
    EXPECT_EQ(body.surfaces[static_cast<size_t>(face.surface)].kind, acis::SurfaceKind::Plane) << what;
    ASSERT_EQ(face.loops.size(), 1u) << what;
    EXPECT_EQ(face.loops[0].coedges.size(), 4u) << what;
  }
  // A 2 x 3 x 4 box: edge lengths as parameter spans.
  double spans = 0;
  for (const acis::Edge& edge : body.edges) spans += edge.endParam - edge.startParam;
  EXPECT_NEAR(spans, 4 * (2 + 3 + 4), 1e-9) << what;
  expectPlanarConventions(body, what);
}

}  // namespace

TEST(AcisOwnSolids, TheBoxReadsAlikeInEveryVersionLayout) {
  acis::ParseResult v106 = parseFile("box_106.sat"), v400 = parseFile("box_400.sat"), v700 = parseFile("box.sat");
  expectBox(v106, "1.x");
  expectBox(v400, "4.0");
  expectBox(v700, "7.0");
  EXPECT_EQ(v106.version, 106);
  EXPECT_EQ(v700.version, 700);
  // 1.x and 4.0 store no edge parameters; those found from the vertices
  // are the ones 7.0 stores.
  for (size_t i = 0; i < v700.body.edges.size(); ++i) {
    for (const acis::ParseResult* old : {&v106, &v400}) {
      EXPECT_NEAR(old->body.edges[i].startParam, v700.body.edges[i].startParam, 1e-12);
      EXPECT_NEAR(old->body.edges[i].endParam, v700.body.edges[i].endParam, 1e-12);
    }
    EXPECT_EQ(v106.body.vertices[static_cast<size_t>(v106.body.edges[i].start)].point,
              v700.body.vertices[static_cast<size_t>(v700.body.edges[i].start)].point);
  }
  for (size_t i = 0; i < v700.body.faces.size(); ++i)
    EXPECT_EQ(v106.body.faces[i].reversed, v700.body.faces[i].reversed);
}

TEST(AcisOwnSolids, TheBodyTransformReadsFromVectorsAndFromLiteralText) {
  for (const char* name : {"box_moved.sat", "box_moved.sab", "box_moved_literal.sab"}) {
    acis::ParseResult read = parseFile(name);
    expectBox(read, name);
    const acis::Transform& t = read.body.transform;
    EXPECT_EQ(t.scale, 2) << name;
    EXPECT_EQ(t.translation, (acis::Vec3{10, 20, 30})) << name;
    // A quarter turn about z, then the scale, then the move.
    EXPECT_EQ(t.apply({1, 0, 0}), (acis::Vec3{10, 22, 30})) << name;
    EXPECT_EQ(t.apply({0, 1, 0}), (acis::Vec3{8, 20, 30})) << name;
    EXPECT_FALSE(t.reflect || t.shear || t.rotate) << name;
  }
  EXPECT_EQ(parseFile("box_moved.sab").version, 21800);
  EXPECT_EQ(parseFile("box.sat").body.transform.apply({1, 2, 3}), (acis::Vec3{1, 2, 3}));
}

TEST(AcisOwnSolids, TheBoxWithAHoleHasACylinderBoundedByTwoCircles) {
  acis::ParseResult read = parseFile("box_with_hole.sat");
  ASSERT_TRUE(read.ok) << read.error;
  const acis::Body& body = read.body;
  ASSERT_EQ(body.faces.size(), 7u);
  EXPECT_TRUE(body.isSolid);
  EXPECT_EQ(body.faces[0].loops.size(), 2u);
  EXPECT_EQ(body.faces[1].loops.size(), 2u);
  const acis::Face& wall = body.faces[6];
  const acis::Surface& cylinder = body.surfaces[static_cast<size_t>(wall.surface)];
  ASSERT_EQ(cylinder.kind, acis::SurfaceKind::Cone);
  EXPECT_EQ(cylinder.sinHalfAngle, 0);
  EXPECT_EQ(cylinder.cosHalfAngle, 1);
  EXPECT_EQ(cylinder.majorAxis, (acis::Vec3{1, 0, 0}));
  EXPECT_EQ(cylinder.root, (acis::Vec3{2, 2, 0}));
  EXPECT_TRUE(wall.reversed);
  ASSERT_EQ(wall.loops.size(), 2u);
  for (const acis::Loop& loop : wall.loops) {
    ASSERT_EQ(loop.coedges.size(), 1u);
    const acis::Edge& circle = body.edges[static_cast<size_t>(loop.coedges[0].edge)];
    EXPECT_EQ(circle.start, circle.end);
    EXPECT_NEAR(circle.endParam - circle.startParam, 2 * std::numbers::pi, 1e-12);
    EXPECT_EQ(body.curves[static_cast<size_t>(circle.curve)].kind, acis::CurveKind::Ellipse);
  }
  // The wall runs each circle the other way from the plane it meets.
  EXPECT_NE(wall.loops[0].coedges[0].reversed, body.faces[1].loops[1].coedges[0].reversed);
  expectPlanarConventions(body, "box with hole");
}

TEST(AcisOwnSolids, TheTorusAndTheSphereAreFacesWithoutLoops) {
  acis::ParseResult torus = parseFile("torus.sat"), sphere = parseFile("sphere.sat");
  ASSERT_TRUE(torus.ok && sphere.ok) << torus.error << sphere.error;
  ASSERT_EQ(torus.body.faces.size(), 1u);
  ASSERT_EQ(sphere.body.faces.size(), 1u);
  EXPECT_TRUE(torus.body.faces[0].loops.empty());
  EXPECT_TRUE(sphere.body.faces[0].loops.empty());
  const acis::Surface& ring = torus.body.surfaces[0];
  EXPECT_EQ(ring.kind, acis::SurfaceKind::Torus);
  EXPECT_EQ(ring.majorRadius, 3);
  EXPECT_EQ(ring.minorRadius, 1);
  EXPECT_EQ(ring.normal, (acis::Vec3{0, 0, 1}));
  EXPECT_EQ(ring.uDirection, (acis::Vec3{1, 0, 0}));
  const acis::Surface& ball = sphere.body.surfaces[0];
  EXPECT_EQ(ball.kind, acis::SurfaceKind::Sphere);
  EXPECT_EQ(ball.radius, 2);
  EXPECT_EQ(ball.normal, (acis::Vec3{0, 0, 1}));
  EXPECT_EQ(sphere.version, 400);
}
