#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "acadmem.h"
#include "heap_faults.h"
#include "wrl_fobj.h"

namespace {

bool isPositiveZero(double v) { return v == 0.0 && !std::signbit(v); }

WrlPointList* pointBatch(int count, double base) {
  auto* batch = new WrlPointList;
  for (int i = 0; i < count; ++i) batch->add(WrlPoint(base + i, 0.0, 0.0));
  return batch;
}

WrlFaceList* triangleBatch(int count, int32_t base) {
  auto* batch = new WrlFaceList;
  for (int i = 0; i < count; ++i) {
    WrlFace face;
    face.setCount(3);
    for (int corner = 0; corner < 3; ++corner) face.setCorner(corner, base + i + corner);
    batch->add(face);
  }
  return batch;
}

}  // namespace

TEST(WrlPoint, ExchangesAxesSoDrawingZBecomesFileY) {
  WrlPoint p(1.0, 2.0, 3.0);
  EXPECT_EQ(p.x(), 1.0);
  EXPECT_EQ(p.y(), 3.0);
  EXPECT_EQ(p.z(), -2.0);
}

TEST(WrlPoint, SnapsMagnitudesBelowTheLimitToPositiveZero) {
  EXPECT_TRUE(isPositiveZero(WrlPoint::snap(0.0000099)));
  EXPECT_TRUE(isPositiveZero(WrlPoint::snap(-0.0000099)));
  EXPECT_TRUE(isPositiveZero(WrlPoint::snap(-0.0)));
  EXPECT_TRUE(isPositiveZero(WrlPoint::snap(std::numeric_limits<double>::denorm_min())));
  EXPECT_EQ(WrlPoint::snap(0.00001), 0.00001);
  EXPECT_EQ(WrlPoint::snap(-0.00001), -0.00001);
  EXPECT_EQ(WrlPoint::snap(std::nextafter(0.00001, 0.0)), 0.0);
  EXPECT_EQ(WrlPoint::snap(-1e300), -1e300);
  EXPECT_TRUE(std::isnan(WrlPoint::snap(std::nan(""))));
  EXPECT_EQ(WrlPoint::snap(-std::numeric_limits<double>::infinity()), -std::numeric_limits<double>::infinity());
}

TEST(WrlPoint, NegatesDrawingYBeforeSnappingSoNoNegativeZeroIsStored) {
  WrlPoint p(0.5, 0.0, 0.0);
  EXPECT_TRUE(isPositiveZero(p.z()));
  WrlPoint q(-0.0, 0.000005, -0.0);
  EXPECT_TRUE(isPositiveZero(q.x()));
  EXPECT_TRUE(isPositiveZero(q.y()));
  EXPECT_TRUE(isPositiveZero(q.z()));
}

TEST(WrlFace, AcceptsOnlyThreeOrFourCornersAndCornerNumbersZeroToThree) {
  WrlFace face;
  EXPECT_EQ(face.count(), 0);
  EXPECT_EQ(face.setCount(5), 0);
  EXPECT_EQ(face.setCount(2), 0);
  EXPECT_EQ(face.count(), 0);
  EXPECT_EQ(face.setCount(4), 1);
  EXPECT_EQ(face.setCount(0), 0);
  EXPECT_EQ(face.count(), 4);
  EXPECT_EQ(face.setCount(3), 1);
  EXPECT_EQ(face.count(), 3);

  EXPECT_EQ(face.setCorner(3, -7), 1);
  EXPECT_EQ(face.setCorner(4, 9), 0);
  EXPECT_EQ(face.setCorner(-1, 9), 0);
  EXPECT_EQ(face.corner(0), 0);
  EXPECT_EQ(face.corner(1), 0);
  EXPECT_EQ(face.corner(2), 0);
  EXPECT_EQ(face.corner(3), -7);
}

TEST(WrlList, IgnoresAbsentEntriesAndTakesOverOwnedOnes) {
  auto before = acad::heap::stats().liveBlocks;
  {
    WrlPointList list;
    EXPECT_EQ(list.add(static_cast<WrlPoint*>(nullptr)), 0);
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(list.add(new WrlPoint(1, 2, 3)), 1);
    EXPECT_EQ(list.add(WrlPoint(4, 5, 6)), 1);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.at(0).z(), -2.0);
    EXPECT_EQ(list.at(1).x(), 4.0);
  }
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

TEST(WrlList, KeepsOrderAcrossManyGrowths) {
  WrlFaceList list;
  for (int32_t i = 0; i < 10000; ++i) {
    WrlFace face;
    face.setCount(4);
    face.setCorner(0, i);
    ASSERT_EQ(list.add(face), 1);
  }
  ASSERT_EQ(list.size(), 10000u);
  int32_t expected = 0;
  for (const WrlFace& face : list) EXPECT_EQ(face.corner(0), expected++);
}

TEST(WrlFaceObject, FirstBatchBecomesTheListLaterBatchesAreAppendedInOrder) {
  auto before = acad::heap::stats().liveBlocks;
  {
    WrlFaceObject object;
    EXPECT_EQ(object.isComplete(), 0);
    WrlPointList* first = pointBatch(2, 10.0);
    object.appendPoints(first);
    EXPECT_EQ(object.points(), first);
    EXPECT_EQ(object.isComplete(), 0);
    object.appendPoints(pointBatch(3, 20.0));
    ASSERT_EQ(object.points()->size(), 5u);
    const double expectedX[] = {10, 11, 20, 21, 22};
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(object.points()->at(i).x(), expectedX[i]);

    object.appendFaces(triangleBatch(1, 0));
    object.appendFaces(triangleBatch(2, 5));
    EXPECT_EQ(object.isComplete(), 1);
    ASSERT_EQ(object.faces()->size(), 3u);
    EXPECT_EQ(object.faces()->at(2).corner(2), 8);

    object.appendFaces(nullptr);
    EXPECT_EQ(object.faces()->size(), 3u);
    object.release();
    EXPECT_EQ(object.isComplete(), 0);
    EXPECT_EQ(object.points(), nullptr);
    EXPECT_EQ(object.faces(), nullptr);
    object.appendFaces(triangleBatch(1, 0));  // usable again after release
  }
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

TEST(WrlFaceObject, BatchThatFindsNoRoomIsDroppedAndTheListKept) {
  auto before = acad::heap::stats().liveBlocks;
  {
    WrlFaceObject object;
    object.appendPoints(pointBatch(16, 0.0));  // exactly one full block: the next append must grow
    object.appendFaces(triangleBatch(16, 0));
    WrlPointList* points = pointBatch(3, 100.0);
    WrlFaceList* faces = triangleBatch(3, 100);

    acad::heap::failAfter(1);
    object.appendPoints(points);
    EXPECT_TRUE(acad::heap::takeFiredFailure());
    acad::heap::failAfter(1);
    object.appendFaces(faces);
    EXPECT_TRUE(acad::heap::takeFiredFailure());
    acad::heap::failAfter(0);

    ASSERT_EQ(object.points()->size(), 16u);
    ASSERT_EQ(object.faces()->size(), 16u);
    EXPECT_EQ(object.points()->at(15).x(), 15.0);
    EXPECT_EQ(object.faces()->at(15).corner(0), 15);

    object.appendPoints(pointBatch(3, 100.0));  // and it still grows once memory is back
    EXPECT_EQ(object.points()->size(), 19u);
    EXPECT_EQ(object.points()->at(16).x(), 100.0);
  }
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

TEST(WrlList, AddThatFindsNoRoomLeavesTheListAsItWas) {
  WrlPointList list;
  for (int i = 0; i < 16; ++i) list.add(WrlPoint(i, 0, 0));
  acad::heap::failAfter(1);
  EXPECT_EQ(list.add(WrlPoint(99, 0, 0)), 0);
  acad::heap::failAfter(0);
  EXPECT_EQ(list.size(), 16u);
  EXPECT_EQ(list.at(15).x(), 15.0);
}
