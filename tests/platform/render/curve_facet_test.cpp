// Entities swept by their thickness, cut into chords. A full turn is cut
// into 72 chords, so a cut circle keeps between sin(s)/s of the disc's area
// (s = 2 pi / 72) and all of it, sin(s/2)/(s/2) of its circumference, and its
// box shrinks by at most r (1 - cos(s/2)) on each side.
#include <cmath>
#include <numbers>

#include "facet_probe.h"

// Tag tables stay one entity a line: the formatter would give every tag a line of its own.
// clang-format off

using namespace facet_test;

namespace {
constexpr double kTight = 1e-12;
constexpr double kStep = 2 * std::numbers::pi / 72;
const double kAreaKept = std::sin(kStep) / kStep;
const double kLengthKept = std::sin(kStep / 2) / (kStep / 2);
const double kBoxShrink = 1 - std::cos(kStep / 2);

void expectCutArea(double area, double exact, double kept) {
  EXPECT_LE(area, exact * (1 + kTight));
  EXPECT_GE(area, exact * kept * (1 - kTight));
}

Vec3 unit(const Vec3& v) { return v * (1 / v.length()); }
}  // namespace

TEST(FacetCurve, LineKeepsItsWorldEndsAndRisesAlongATiltedExtrusion) {
  Tags t;
  addPoint(t, 10, {0, 0, 0});
  addPoint(t, 11, {3, 0, 0});
  t.push_back({39, "2"});
  addPoint(t, 210, {0, 1, 1});
  Faceted wall = facet("LINE", t);
  ASSERT_EQ(wall.status, Acad::eOk);
  auto polygons = wall.callout.polygons();
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0][0], (Vec3{0, 0, 0}));
  EXPECT_EQ(polygons[0][1], (Vec3{3, 0, 0}));
  EXPECT_NEAR(wall.callout.area(), 6.0, kTight);  // 3 long, 2 high, the rise square to the line
  Box box = wall.callout.box();
  EXPECT_NEAR(box.high.y, std::sqrt(2.0), kTight);
  EXPECT_NEAR(box.high.z, std::sqrt(2.0), kTight);

  t[6].value = "0";  // no thickness: a line has no surface
  EXPECT_EQ(facet("LINE", t).status, Acad::eDegenerateGeometry);
}

TEST(FacetCurve, ThickCircleIsAClosedCylinderWithinTheCutBound) {
  const double r = 2, thickness = 5;
  const Vec3 direction = unit({1, 1, 1});
  Tags t;
  addPoint(t, 10, {0, 0, 4});  // on the axis: 4 along the extrusion direction
  t.push_back({40, num(r)});
  t.push_back({39, num(thickness)});
  addPoint(t, 210, {1, 1, 1});
  Faceted cylinder = facet("CIRCLE", t);
  ASSERT_EQ(cylinder.status, Acad::eOk);
  EXPECT_EQ(cylinder.callout.polygonCount(), 72u + 2 * 35u);  // walls, and each cap as a fan of 35 quads

  double lateral = 2 * std::numbers::pi * r * thickness;
  double caps = 2 * std::numbers::pi * r * r;
  EXPECT_LE(cylinder.callout.area(), lateral + caps);
  EXPECT_GE(cylinder.callout.area(), (lateral * kLengthKept + caps * kAreaKept) * (1 - kTight));

  // A circle of radius r square to unit n reaches r sqrt(1 - n_i^2) along axis i.
  Box box = cylinder.callout.box();
  Vec3 bottom = direction * 4, top = direction * (4 + thickness);
  double reach = r * std::sqrt(1 - direction.x * direction.x);
  for (auto [low, high, b, t2] : {std::tuple{box.low.x, box.high.x, bottom.x, top.x},
                                  std::tuple{box.low.y, box.high.y, bottom.y, top.y},
                                  std::tuple{box.low.z, box.high.z, bottom.z, top.z}}) {
    EXPECT_GE(low, std::fmin(b, t2) - reach - kTight);
    EXPECT_LE(low, std::fmin(b, t2) - reach + r * kBoxShrink);
    EXPECT_LE(high, std::fmax(b, t2) + reach + kTight);
    EXPECT_GE(high, std::fmax(b, t2) + reach - r * kBoxShrink);
  }
}

TEST(FacetCurve, FlatCircleIsADiscAndABadRadiusIsRefused) {
  Tags t = tags({{10, "1"}, {20, "1"}, {30, "0"}, {40, "3"}});
  Faceted disc = facet("CIRCLE", t);
  ASSERT_EQ(disc.status, Acad::eOk);
  expectCutArea(disc.callout.area(), std::numbers::pi * 9, kAreaKept);
  t[3].value = "-1";
  EXPECT_EQ(facet("CIRCLE", t).status, Acad::eInvalidInput);
  t[3].value = "nan";
  EXPECT_EQ(facet("CIRCLE", t).status, Acad::eInvalidInput);
  t[3].value = "1e999";
  EXPECT_EQ(facet("CIRCLE", t).status, Acad::eInvalidInput);
}

TEST(FacetCurve, ArcSweepsCounterclockwiseFromStartToEnd) {
  Tags t = tags({{10, "0"}, {20, "0"}, {30, "0"}, {40, "1"}, {39, "1"}, {50, "0"}, {51, "90"}});
  Faceted quarter = facet("ARC", t);
  ASSERT_EQ(quarter.status, Acad::eOk);
  EXPECT_EQ(quarter.callout.polygonCount(), 18u);
  expectCutArea(quarter.callout.area(), std::numbers::pi / 2, kLengthKept);
  Box box = quarter.callout.box();
  EXPECT_NEAR(box.low.x, 0, kTight);
  EXPECT_NEAR(box.low.y, 0, kTight);
  EXPECT_NEAR(box.high.x, 1, kTight);
  EXPECT_NEAR(box.high.y, 1, kTight);

  t[5].value = "350";
  t[6].value = "10";  // through zero: 20 degrees
  expectCutArea(facet("ARC", t).callout.area(), std::numbers::pi / 9, kLengthKept);
}

TEST(FacetCurve, LightweightPolylineWallsFollowItsBulges) {
  // A closed square of side 2 whose right side bulges out as a half circle.
  Tags t = tags({{90, "4"}, {70, "1"}, {38, "1"}, {39, "1"}, {10, "0"}, {20, "0"}, {10, "2"}, {20, "0"},
                 {42, "1"}, {10, "2"}, {20, "2"}, {10, "0"}, {20, "2"}});
  Faceted walls = facet("LWPOLYLINE", t);
  ASSERT_EQ(walls.status, Acad::eOk);
  double straight = 6, arc = std::numbers::pi;
  EXPECT_LE(walls.callout.area(), straight + arc + kTight);
  EXPECT_GE(walls.callout.area(), straight + arc * kLengthKept - kTight);
  Box box = walls.callout.box();
  EXPECT_NEAR(box.high.x, 3, kTight);  // the bulge's far point lies on a chord end
  EXPECT_NEAR(box.low.z, 1, kTight);
  EXPECT_NEAR(box.high.z, 2, kTight);

  t[3].value = "0";  // no thickness
  EXPECT_EQ(facet("LWPOLYLINE", t).status, Acad::eDegenerateGeometry);
  Tags early = tags({{39, "1"}, {20, "5"}, {10, "0"}});
  EXPECT_EQ(facet("LWPOLYLINE", early).status, Acad::eInvalidInput);
}

TEST(FacetCurve, ZeroOrBrokenExtrusionIsRefused) {
  for (const char* type : {"LINE", "CIRCLE", "SOLID", "LWPOLYLINE", "ARC"}) {
    Tags t = tags({{10, "0"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "0"}, {31, "0"}, {40, "1"},
                   {39, "1"}, {210, "0"}, {220, "0"}, {230, "0"}});
    EXPECT_EQ(facet(type, t).status, Acad::eInvalidInput) << type;
    t[10].value = "inf";
    EXPECT_EQ(facet(type, t).status, Acad::eInvalidInput) << type;
  }
}

TEST(FacetCurve, WidePolylineIsAFlatStripOrWithThicknessASlab) {
  Tags strip = tags({{90, "2"}, {70, "0"}, {43, "2"}, {10, "0"}, {20, "0"}, {10, "5"}, {20, "0"}});
  Faceted flat = facet("LWPOLYLINE", strip);
  ASSERT_EQ(flat.status, Acad::eOk);
  EXPECT_NEAR(flat.callout.area(), 10.0, kTight);
  Box box = flat.callout.box();
  EXPECT_NEAR(box.low.y, -1, kTight);
  EXPECT_NEAR(box.high.y, 1, kTight);

  strip.push_back({39, "3"});
  Faceted slab = facet("LWPOLYLINE", strip);
  ASSERT_EQ(slab.status, Acad::eOk);
  EXPECT_NEAR(slab.callout.area(), 2 * 10 + 2 * 5 * 3 + 2 * 2 * 3, kTight);

  // A half circle of radius 1, 0.5 wide: half an annulus between 0.75 and 1.25.
  Tags arc = tags({{90, "2"}, {10, "0"}, {20, "0"}, {40, "0.5"}, {41, "0.5"}, {42, "1"}, {10, "2"}, {20, "0"}});
  Faceted ring = facet("LWPOLYLINE", arc);
  ASSERT_EQ(ring.status, Acad::eOk);
  expectCutArea(ring.callout.area(), std::numbers::pi / 2, kAreaKept);
  EXPECT_NEAR(ring.callout.box().low.y, -1.25, 1.25 * kBoxShrink);  // the arc turns counterclockwise: below
}

TEST(FacetCurve, TwoDPolylineVerticesTaperTheirOwnWidth) {
  Tags head = tags({{70, "0"}, {40, "4"}, {41, "4"}});
  Tags tapered = tags({{10, "0"}, {20, "0"}, {70, "0"}, {40, "0"}, {41, "2"}});
  Tags plain = tags({{10, "5"}, {20, "0"}, {70, "0"}});  // takes the polyline's widths, but ends it
  render::EntityView view{"POLYLINE", head, {tapered, plain}};
  Faceted wedge = facet(view);
  ASSERT_EQ(wedge.status, Acad::eOk);
  EXPECT_NEAR(wedge.callout.area(), 5.0, kTight);  // from a point to 2 wide over 5
}

TEST(FacetCurve, WideSegmentsOfOneWidthMeetInAMitre) {
  Tags corner = tags({{90, "3"}, {43, "2"}, {10, "0"}, {20, "0"}, {10, "4"}, {20, "0"}, {10, "4"}, {20, "4"}});
  Faceted joined = facet("LWPOLYLINE", corner);
  ASSERT_EQ(joined.status, Acad::eOk);
  EXPECT_NEAR(joined.callout.area(), 16.0, kTight);
  auto polygons = joined.callout.polygons();
  ASSERT_EQ(polygons.size(), 2u);
  // Both strips end on the outer corner (5,-1) and the inner one (3,1).
  for (const auto& polygon : polygons) {
    bool outer = false, inner = false;
    for (const Vec3& p : polygon) {
      outer = outer || (std::fabs(p.x - 5) < kTight && std::fabs(p.y + 1) < kTight);
      inner = inner || (std::fabs(p.x - 3) < kTight && std::fabs(p.y - 1) < kTight);
    }
    EXPECT_TRUE(outer && inner);
  }
  // Turning back on itself is sharper than any mitre: square ends instead.
  Tags back = tags({{90, "3"}, {43, "2"}, {10, "0"}, {20, "0"}, {10, "4"}, {20, "0"}, {10, "0"}, {20, "0.01"}});
  Box box = facet("LWPOLYLINE", back).callout.box();
  EXPECT_NEAR(box.high.x, 4 + 0.01 * 1 / 4, 0.01);
}
// clang-format on
