// The capture of the facetter's batches into one object's points and faces.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "acadmem.h"
#include "dbbuild.h"
#include "heap_faults.h"
#include "wrl_out.h"

namespace {

bool isPositiveZero(double v) { return v == 0.0 && !std::signbit(v); }

// One batch as the facetter hands it over.
struct Batch {
  std::vector<AcreVertex> vertices;
  std::vector<std::vector<int32_t>> polygons;
  // The records, made before delivery so that delivering allocates nothing.
  AcreMeshHeader header{};
  std::vector<AcrePolygon> records;
  std::vector<const int32_t*> corners;

  void prepare() {
    header.vertexCount = static_cast<int32_t>(vertices.size());
    header.polygonCount = static_cast<int32_t>(polygons.size());
    records.assign(polygons.size(), AcrePolygon{});
    corners.clear();
    for (size_t k = 0; k < polygons.size(); ++k) {
      records[k].cornerCount = static_cast<int16_t>(polygons[k].size());
      corners.push_back(polygons[k].data());
    }
  }
  // Through the interface, as the facetter calls it.
  void deliverTo(AcreCallout& callout) {
    if (corners.size() != polygons.size() || header.vertexCount != static_cast<int32_t>(vertices.size())) prepare();
    callout.onHeader(&header);
    callout.onVertices(vertices.data());
    callout.onFaces(records.data(), corners.data());
  }
};

Batch cube() {
  Batch b;
  for (int i = 0; i < 8; ++i) b.vertices.push_back({double(i & 1), double(i >> 1 & 1), double(i >> 2)});
  b.polygons = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  return b;
}

std::vector<int32_t> cornersOf(const WrlFace& face) {
  std::vector<int32_t> out;
  for (int j = 0; j < face.count(); ++j) out.push_back(face.corner(j));
  return out;
}

}  // namespace

TEST(WrlCallout, CubeInOneBatchKeepsTheBatchCornerNumbers) {
  WrlCallout callout;
  Batch batch = cube();
  batch.deliverTo(callout);
  ASSERT_TRUE(callout.faceObject && callout.faceObject->isComplete());
  const WrlPointList& points = *callout.faceObject->points();
  const WrlFaceList& faces = *callout.faceObject->faces();
  ASSERT_EQ(points.size(), 8u);
  ASSERT_EQ(faces.size(), 6u);
  for (size_t k = 0; k < 6; ++k) EXPECT_EQ(cornersOf(faces.at(k)), batch.polygons[k]);
  EXPECT_EQ(points.at(7).x(), 1.0);
  EXPECT_EQ(points.at(7).y(), 1.0);   // drawing Z
  EXPECT_EQ(points.at(7).z(), -1.0);  // minus drawing Y
  EXPECT_EQ(callout.indexBase, 8);
}

TEST(WrlCallout, SecondBatchCornersAreShiftedByThePointsBeforeIt) {
  WrlCallout callout;
  Batch square;
  square.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  square.polygons = {{0, 1, 2}, {0, 2, 3}};
  square.deliverTo(callout);
  square.deliverTo(callout);
  const WrlFaceList& faces = *callout.faceObject->faces();
  ASSERT_EQ(callout.faceObject->points()->size(), 8u);
  ASSERT_EQ(faces.size(), 4u);
  EXPECT_EQ(cornersOf(faces.at(1)), (std::vector<int32_t>{0, 2, 3}));
  EXPECT_EQ(cornersOf(faces.at(2)), (std::vector<int32_t>{4, 5, 6}));
  EXPECT_EQ(cornersOf(faces.at(3)), (std::vector<int32_t>{4, 6, 7}));
}

TEST(WrlCallout, ExchangesAxesAndSnapsTinyCoordinatesToPositiveZero) {
  WrlCallout callout;
  Batch batch;
  batch.vertices = {{1.0, 2.0, 3.0}, {0.000004, -0.000004, 5.0}, {0.5, 0.0, 0.0}};
  batch.polygons = {{0, 1, 2}};
  batch.deliverTo(callout);
  const WrlPointList& points = *callout.faceObject->points();
  EXPECT_EQ(points.at(0).x(), 1.0);
  EXPECT_EQ(points.at(0).y(), 3.0);
  EXPECT_EQ(points.at(0).z(), -2.0);
  EXPECT_TRUE(isPositiveZero(points.at(1).x()));
  EXPECT_EQ(points.at(1).y(), 5.0);
  EXPECT_TRUE(isPositiveZero(points.at(1).z()));
  EXPECT_TRUE(isPositiveZero(points.at(2).z()));
}

TEST(WrlCallout, FiveCornerPolygonIsKeptWithoutCountWhileItsNeighboursStay) {
  WrlCallout callout;
  Batch batch;
  for (int i = 0; i < 5; ++i) batch.vertices.push_back({double(i), 0, 0});
  batch.polygons = {{0, 1, 2}, {0, 1, 2, 3, 4}, {1, 2, 3, 4}, {0, 1}};
  batch.deliverTo(callout);
  const WrlFaceList& faces = *callout.faceObject->faces();
  ASSERT_EQ(faces.size(), 4u);
  EXPECT_EQ(cornersOf(faces.at(0)), (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(faces.at(1).count(), 0);  // the writer leaves a face without count out
  EXPECT_EQ(cornersOf(faces.at(2)), (std::vector<int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(faces.at(3).count(), 0);
}

TEST(WrlCallout, RotatedUcsTransformsBeforeTheAxesAreExchanged) {
  db::build::newDrawing();
  const double origin[3] = {10, 0, 0}, xAxis[3] = {0, 1, 0}, yAxis[3] = {-1, 0, 0};
  ASSERT_TRUE(db::build::setUcs(origin, xAxis, yAxis));  // turned 90 degrees about Z, moved by 10 in X
  Batch batch;
  batch.vertices = {{10, 2, 3}, {11, 0, 0}, {10, 0, 1}};
  batch.polygons = {{0, 1, 2}};

  WrlCallout inUcs;
  inUcs.ucsTransform = 1;
  batch.deliverTo(inUcs);
  const WrlPointList& moved = *inUcs.faceObject->points();
  // World (10,2,3) is UCS (2,0,3): stored as x 2, y 3, z -0 -> +0.
  EXPECT_NEAR(moved.at(0).x(), 2.0, 1e-12);
  EXPECT_NEAR(moved.at(0).y(), 3.0, 1e-12);
  EXPECT_TRUE(isPositiveZero(moved.at(0).z()));
  // World (11,0,0) is UCS (0,-1,0): stored as x 0, y 0, z 1.
  EXPECT_TRUE(isPositiveZero(moved.at(1).x()));
  EXPECT_NEAR(moved.at(1).z(), 1.0, 1e-12);

  WrlCallout inWorld;  // ucsTransform 0: the UCS is not consulted
  batch.deliverTo(inWorld);
  EXPECT_EQ(inWorld.faceObject->points()->at(0).x(), 10.0);
  EXPECT_EQ(inWorld.faceObject->points()->at(0).z(), -2.0);
  db::build::newDrawing();
}

TEST(WrlCallout, HeaderWithoutVerticesAddsNothing) {
  WrlCallout callout;
  AcreMeshHeader header{};
  callout.onHeader(&header);
  AcreVertex stray{1, 2, 3};
  callout.onVertices(&stray);
  callout.onFaces(nullptr, nullptr);
  ASSERT_TRUE(callout.faceObject);
  EXPECT_EQ(callout.faceObject->points(), nullptr);
  EXPECT_EQ(callout.faceObject->faces(), nullptr);
  EXPECT_EQ(callout.indexBase, 0);
  EXPECT_FALSE(callout.faceObject->isComplete());
}

// Out of memory anywhere while batches are built drops the whole entity:
// nothing half-made reaches the writer and nothing leaks.
TEST(WrlCallout, ShortageAtAnyAllocationDropsTheEntityWithoutLeaks) {
  Batch first = cube();
  Batch second = cube();
  for (int i = 0; i < 40; ++i) second.vertices.push_back({double(i), 1, 1});
  first.prepare();
  second.prepare();
  int failuresSeen = 0;
  for (uint64_t n = 1; n < 64; ++n) {
    size_t before = acad::heap::stats().liveBlocks;
    {
      WrlCallout callout;
      acad::heap::failAfter(n);
      first.deliverTo(callout);
      second.deliverTo(callout);
      bool fired = acad::heap::takeFiredFailure();
      acad::heap::failAfter(0);
      if (fired) {
        ++failuresSeen;
        EXPECT_TRUE(callout.faceObject == nullptr) << "allocation " << n;
      } else {
        ASSERT_TRUE(callout.faceObject && callout.faceObject->isComplete());
        EXPECT_EQ(callout.faceObject->points()->size(), 16u + 40u);
        EXPECT_EQ(callout.faceObject->faces()->size(), 12u);
      }
    }
    EXPECT_EQ(acad::heap::stats().liveBlocks, before) << "allocation " << n;
  }
  EXPECT_GE(failuresSeen, 4);
}

// The export loop keeps one capture for the whole selection: an entity
// starts with none of the previous one's points, numbering or verdicts.
TEST(WrlCallout, NextEntityStartsAfreshAfterAWholeAnOutOfRangeAndADroppedOne) {
  Batch square;
  square.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  square.polygons = {{0, 1, 2}, {0, 2, 3}};
  Batch huge = square;
  huge.vertices[2].x = 1e300;
  square.prepare();
  huge.prepare();
  auto expectOnlySquare = [](const WrlCallout& callout) {
    ASSERT_TRUE(callout.faceObject && callout.faceObject->isComplete());
    EXPECT_EQ(callout.faceObject->points()->size(), 4u);
    ASSERT_EQ(callout.faceObject->faces()->size(), 2u);
    EXPECT_EQ(cornersOf(callout.faceObject->faces()->at(1)), (std::vector<int32_t>{0, 2, 3}));
    EXPECT_EQ(callout.indexBase, 4);
  };
  size_t before = acad::heap::stats().liveBlocks;
  {
    WrlCallout callout;
    ASSERT_TRUE(callout.beginEntity());
    square.deliverTo(callout);
    square.deliverTo(callout);
    ASSERT_TRUE(callout.beginEntity());
    square.deliverTo(callout);
    expectOnlySquare(callout);

    ASSERT_TRUE(callout.beginEntity());
    huge.deliverTo(callout);
    EXPECT_FALSE(callout.faceObject->isComplete());
    ASSERT_TRUE(callout.beginEntity());
    square.deliverTo(callout);
    expectOnlySquare(callout);

    acad::heap::failAfter(1);
    square.deliverTo(callout);
    EXPECT_TRUE(acad::heap::takeFiredFailure());
    acad::heap::failAfter(0);
    ASSERT_EQ(callout.faceObject, nullptr);
    ASSERT_TRUE(callout.beginEntity());
    square.deliverTo(callout);
    expectOnlySquare(callout);
  }
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

// A face object lost for lack of memory that cannot be made again leaves
// the next entity without one, and says so.
TEST(WrlCallout, BeginEntityReportsAFaceObjectThatCannotBeRemade) {
  Batch square;
  square.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}};
  square.polygons = {{0, 1, 2}};
  square.prepare();
  size_t before = acad::heap::stats().liveBlocks;
  {
    WrlCallout callout;
    acad::heap::failAfter(1);
    square.deliverTo(callout);
    EXPECT_TRUE(acad::heap::takeFiredFailure());
    ASSERT_EQ(callout.faceObject, nullptr);
    acad::heap::failAfter(1);
    EXPECT_FALSE(callout.beginEntity());
    EXPECT_TRUE(acad::heap::takeFiredFailure());
    acad::heap::failAfter(0);
    EXPECT_EQ(callout.faceObject, nullptr);
    ASSERT_TRUE(callout.beginEntity());
    square.deliverTo(callout);
    EXPECT_TRUE(callout.faceObject->isComplete());
  }
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

// Once the lists have grown, the next entity reuses them: no allocation,
// and nothing of the previous entity shows through, even when it was larger.
TEST(WrlCallout, NextEntityReusesTheListsWithoutAllocating) {
  Batch square;
  square.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  square.polygons = {{0, 1, 2}, {0, 2, 3}};
  Batch solid = cube();
  square.prepare();
  solid.prepare();
  WrlCallout callout;
  ASSERT_TRUE(callout.beginEntity());
  solid.deliverTo(callout);
  ASSERT_TRUE(callout.beginEntity());
  uint64_t before = acad::heap::stats().allocations;
  square.deliverTo(callout);
  EXPECT_EQ(acad::heap::stats().allocations, before);
  ASSERT_TRUE(callout.faceObject->isComplete());
  EXPECT_EQ(callout.faceObject->points()->size(), 4u);
  ASSERT_EQ(callout.faceObject->faces()->size(), 2u);
  EXPECT_EQ(cornersOf(callout.faceObject->faces()->at(0)), (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(callout.faceObject->points()->at(2).x(), 1.0);
  EXPECT_EQ(callout.faceObject->points()->at(2).z(), -1.0);
}
