// Inserts: placement of a block, arrays, nesting, and the refusals that keep
// a broken drawing from looping or overflowing.
#include <cmath>

#include "facet_probe.h"

using namespace facet_test;

namespace {
constexpr double kTight = 1e-12;

Tags unitSquareFace() {
  Tags t;
  addPoint(t, 10, {0, 0, 0});
  addPoint(t, 11, {1, 0, 0});
  addPoint(t, 12, {1, 1, 0});
  addPoint(t, 13, {0, 1, 0});
  return t;
}

Tags insertOf(const std::string& name, std::initializer_list<std::pair<int, std::string>> more = {}) {
  Tags t = tags({{2, name}});
  for (const auto& [code, value] : more) t.push_back({static_cast<int16_t>(code), value});
  return t;
}
}  // namespace

TEST(FacetInsert, PlacesTheBlockByBasePointScaleRotationAndInsertionPoint) {
  Blocks blocks;
  blocks.blocks.push_back({"SQ", {{1, 1, 0}, {{"3DFACE", unitSquareFace()}}}});
  // The base point (1,1) goes to (10,0,0); scale 2 then a quarter turn.
  Faceted placed = facet("INSERT", insertOf("sq", {{10, "10"}, {20, "0"}, {30, "0"}, {41, "2"}, {42, "2"}, {50, "90"}}),
                         &blocks);
  ASSERT_EQ(placed.status, Acad::eOk);
  EXPECT_NEAR(placed.callout.area(), 4.0, kTight);
  Box box = placed.callout.box();
  EXPECT_NEAR(box.low.x, 10, kTight);
  EXPECT_NEAR(box.high.x, 12, kTight);
  EXPECT_NEAR(box.low.y, -2, kTight);
  EXPECT_NEAR(box.high.y, 0, kTight);
  std::vector<Vec3> first = placed.callout.polygons()[0];
  EXPECT_NEAR(first[0].x, 12, kTight);  // corner (0,0): (-1,-1) * 2, turned: (2,-2)
  EXPECT_NEAR(first[0].y, -2, kTight);
}

TEST(FacetInsert, ArraysStepAlongTheRotatedAxesUnscaled) {
  Blocks blocks;
  blocks.blocks.push_back({"SQ", {{0, 0, 0}, {{"3DFACE", unitSquareFace()}}}});
  Faceted grid = facet("INSERT", insertOf("SQ", {{41, "3"}, {50, "90"}, {70, "2"}, {71, "3"}, {44, "10"}, {45, "20"}}),
                       &blocks);
  ASSERT_EQ(grid.status, Acad::eOk);
  EXPECT_EQ(grid.callout.polygonCount(), 6u);
  EXPECT_NEAR(grid.callout.area(), 6 * 3.0, kTight);
  Box box = grid.callout.box();
  // Columns step +10 along the turned X (world +Y), rows +20 along world -X.
  EXPECT_NEAR(box.low.x, -40 - 1, kTight);
  EXPECT_NEAR(box.high.x, 0, kTight);
  EXPECT_NEAR(box.low.y, 0, kTight);
  EXPECT_NEAR(box.high.y, 10 + 3, kTight);
}

TEST(FacetInsert, NestedInsertsComposeAndExtrusionTurnsTheInsert) {
  Blocks blocks;
  blocks.blocks.push_back({"INNER", {{0, 0, 0}, {{"3DFACE", unitSquareFace()}}}});
  blocks.blocks.push_back(
      {"OUTER",
       {{0, 0, 0},
        {{"INSERT", insertOf("INNER", {{10, "5"}, {20, "0"}, {30, "0"}})}, {"TEXT", tags({{1, "not faceted"}})}}}});
  // Extrusion +X: object X is world +Y, object Y is world +Z.
  Faceted nested = facet("INSERT", insertOf("OUTER", {{210, "1"}, {220, "0"}, {230, "0"}}), &blocks);
  ASSERT_EQ(nested.status, Acad::eOk);
  Box box = nested.callout.box();
  EXPECT_NEAR(box.low.x, 0, kTight);
  EXPECT_NEAR(box.high.x, 0, kTight);
  EXPECT_NEAR(box.low.y, 5, kTight);
  EXPECT_NEAR(box.high.y, 6, kTight);
  EXPECT_NEAR(box.low.z, 0, kTight);
  EXPECT_NEAR(box.high.z, 1, kTight);
}

TEST(FacetInsert, RefusesSelfReferenceAbsurdCountsAndMissingOrEmptyBlocks) {
  Blocks blocks;
  blocks.blocks.push_back({"SELF", {{0, 0, 0}, {{"3DFACE", unitSquareFace()}, {"INSERT", insertOf("self")}}}});
  blocks.blocks.push_back({"A", {{0, 0, 0}, {{"INSERT", insertOf("B")}}}});
  blocks.blocks.push_back({"B", {{0, 0, 0}, {{"INSERT", insertOf("A")}}}});
  blocks.blocks.push_back({"SQ", {{0, 0, 0}, {{"3DFACE", unitSquareFace()}}}});
  blocks.blocks.push_back({"TEXTONLY", {{0, 0, 0}, {{"TEXT", tags({{1, "x"}})}}}});
  blocks.blocks.push_back({"WIDE", {{0, 0, 0}, {{"INSERT", insertOf("TEXTONLY", {{70, "1000"}, {71, "100"}})}}}});
  blocks.blocks.push_back({"WIDER", {{0, 0, 0}, {{"INSERT", insertOf("WIDE", {{70, "1000"}, {71, "100"}})}}}});
  EXPECT_EQ(facet("INSERT", insertOf("SELF"), &blocks).status, Acad::eSelfReference);
  EXPECT_EQ(facet("INSERT", insertOf("A"), &blocks).status, Acad::eSelfReference);
  EXPECT_EQ(facet("INSERT", insertOf("SQ", {{70, "100000"}, {71, "100000"}}), &blocks).status, Acad::eInvalidExtents);
  // Cells of nested arrays multiply: the bound holds over all levels.
  EXPECT_EQ(facet("INSERT", insertOf("WIDER"), &blocks).status, Acad::eInvalidExtents);
  EXPECT_EQ(facet("INSERT", insertOf("NOWHERE"), &blocks).status, Acad::eKeyNotFound);
  EXPECT_EQ(facet("INSERT", insertOf("TEXTONLY"), &blocks).status, Acad::eDegenerateGeometry);
  EXPECT_EQ(facet("INSERT", insertOf("SQ", {{41, "1e308"}, {10, "1e308"}}), &blocks).status, Acad::eInvalidInput);
  EXPECT_EQ(facet("INSERT", insertOf("SQ", {{210, "0"}, {220, "0"}, {230, "0"}}), &blocks).status, Acad::eInvalidInput);
  EXPECT_EQ(facet("TEXT", tags({{1, "x"}})).status, Acad::eNotApplicable);
}

namespace {
// A dimension's picture: an arrowhead, its line and its text, already where
// the dimension stands (far from the block's base point).
Blocks dimensionBlocks() {
  Tags arrow;
  addPoint(arrow, 10, {10, 0, 0});
  addPoint(arrow, 11, {12, 0.5, 0});
  addPoint(arrow, 12, {12, -0.5, 0});
  Tags line = tags({{10, "10"}, {20, "0"}, {30, "0"}, {11, "30"}, {21, "0"}, {31, "0"}});
  Blocks blocks;
  blocks.blocks.push_back({"*D1", {{3, 3, 0}, {{"LINE", line}, {"SOLID", arrow}, {"MTEXT", tags({{1, "20"}})}}}});
  blocks.blocks.push_back({"*D2", {{0, 0, 0}, {{"LINE", line}, {"MTEXT", tags({{1, "20"}})}}}});
  blocks.blocks.push_back({"*D3", {{0, 0, 0}, {{"DIMENSION", tags({{2, "*D3"}})}}}});
  blocks.blocks.push_back({"HOLDER", {{0, 0, 0}, {{"DIMENSION", tags({{2, "*d1"}})}}}});
  return blocks;
}
}  // namespace

TEST(FacetDimension, DrawsItsPictureBlockInPlaceAndIsSkippedWithoutOne) {
  Blocks blocks = dimensionBlocks();
  for (const char* type : {"DIMENSION", "ARC_DIMENSION"}) {
    Faceted dimension = facet(type, tags({{2, "*D1"}, {10, "30"}, {20, "0"}, {30, "0"}}), &blocks);
    ASSERT_EQ(dimension.status, Acad::eOk) << type;
    EXPECT_NEAR(dimension.callout.area(), 1.0, kTight) << type;
    Box box = dimension.callout.box();
    EXPECT_NEAR(box.low.x, 10, kTight) << "the base point is not applied";
    EXPECT_NEAR(box.high.x, 12, kTight);
    EXPECT_NEAR(box.low.y, -0.5, kTight);
  }
  // Inside an insert it moves with the insert.
  Faceted held = facet("INSERT", insertOf("HOLDER", {{10, "0"}, {20, "100"}, {30, "0"}}), &blocks);
  ASSERT_EQ(held.status, Acad::eOk);
  EXPECT_NEAR(held.callout.box().low.y, 99.5, kTight);

  EXPECT_EQ(facet("DIMENSION", tags({{2, "*D9"}}), &blocks).status, Acad::eNotApplicable);
  EXPECT_EQ(facet("DIMENSION", tags({{1, "no block named"}}), &blocks).status, Acad::eNotApplicable);
  EXPECT_EQ(facet("DIMENSION", tags({{2, "*D2"}}), &blocks).status, Acad::eDegenerateGeometry);
  EXPECT_EQ(facet("DIMENSION", tags({{2, "*D3"}}), &blocks).status, Acad::eSelfReference);
}
