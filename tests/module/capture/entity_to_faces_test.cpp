// The capture registered with the facetter, as the export loop does it: a
// one-entity selection set, the facetter's call, the face file handed back.
#include <gmock/gmock.h>

#include <cstdio>
#include <string>

#include "acadmem.h"
#include "adslib.h"
#include "dbbuild.h"
#include "heap_faults.h"
#include "render/facet_records.h"
#include "support/files.h"
#include "wrl_out.h"

// Tag tables stay one entity a line: the formatter would give every tag a line of its own.
// clang-format off

namespace {

struct Selection {
  ads_name set = {0, 0};
  explicit Selection(AcDbObjectId id) {
    ads_name entity;
    EXPECT_EQ(acdbGetAdsName(entity, id), Acad::eOk);
    EXPECT_EQ(ads_ssadd(entity, nullptr, set), RTNORM);
  }
  ~Selection() { ads_ssfree(set); }
};

}  // namespace

TEST(EntityToFaces, CapturesAThickCircleAndHandsBackNoFaceFileName) {
  db::build::newDrawing();
  AcDbObjectId circle = db::build::addEntity(
      "CIRCLE", {{8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "2"}, {39, "3"}});
  size_t liveBefore = acad::heap::stats().liveBlocks;
  {
    Selection one(circle);
    WrlCallout callout;
    acreRegisterCallout(&callout);
    char* faceFile = nullptr;
    Acad::ErrorStatus status = acreEntityToFaces(one.set, &faceFile, 1);
    acreRegisterCallout(nullptr);
    ASSERT_EQ(status, Acad::eOk);
    ASSERT_TRUE(callout.faceObject && callout.faceObject->isComplete());
    // 72 walls and two caps of 35 quadrilaterals; every corner within the points.
    const WrlFaceList& faces = *callout.faceObject->faces();
    EXPECT_EQ(faces.size(), 72u + 70u);
    for (const WrlFace& face : faces)
      for (int j = 0; j < face.count(); ++j) EXPECT_LT(size_t(face.corner(j)), callout.faceObject->points()->size());
    // Drawing Z becomes the file's Y: the cylinder stands from 0 to 3.
    double top = 0;
    for (const WrlPoint& p : *callout.faceObject->points()) top = std::max(top, p.y());
    EXPECT_DOUBLE_EQ(top, 3.0);

    // The capture object had every polygon: no face file to delete, and no
    // name to release.
    EXPECT_EQ(faceFile, nullptr);
  }
  EXPECT_EQ(acad::heap::stats().liveBlocks, liveBefore);
  db::build::newDrawing();
}

TEST(EntityToFaces, WithoutACalloutTheFaceFileListsWhatWasFaceted) {
  db::build::newDrawing();
  AcDbObjectId circle = db::build::addEntity(
      "CIRCLE", {{8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "2"}, {39, "3"}});
  Selection one(circle);
  char* faceFile = nullptr;
  ASSERT_EQ(acreEntityToFaces(one.set, &faceFile, 1), Acad::eOk);
  ASSERT_NE(faceFile, nullptr);
  std::string text = test_support::readFile(faceFile);
  EXPECT_THAT(text, testing::HasSubstr("facets CIRCLE "));
  // The same 142 polygons the capture object receives, on their own corners.
  EXPECT_THAT(text, testing::HasSubstr("total 432 142\n"));
  EXPECT_EQ(std::remove(faceFile), 0);
  acad_free(faceFile);
  db::build::newDrawing();
}

TEST(EntityToFaces, WhatCannotBeFacetedFailsWithoutFacesOrFaceFile) {
  db::build::newDrawing();
  AcDbObjectId text = db::build::addEntity("TEXT", {{8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {1, "hello"}});
  AcDbObjectId flatLine = db::build::addEntity("LINE", {{8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "0"}, {31, "0"}});
  for (AcDbObjectId id : {text, flatLine}) {
    Selection one(id);
    WrlCallout callout;
    acreRegisterCallout(&callout);
    char* faceFile = reinterpret_cast<char*>(1);
    Acad::ErrorStatus status = acreEntityToFaces(one.set, &faceFile, 1);
    acreRegisterCallout(nullptr);
    EXPECT_NE(status, Acad::eOk);
    EXPECT_EQ(faceFile, nullptr);
    EXPECT_FALSE(callout.faceObject->isComplete());
  }
  ads_name noSet = {0, 0};
  char* faceFile = nullptr;
  EXPECT_NE(acreEntityToFaces(noSet, &faceFile, 1), Acad::eOk);
  db::build::newDrawing();
}

// Within a command the facetter keeps its buffers from call to call. Each
// entity must still get its own polygons only, after a larger one and after
// one that failed, and the command's end must free every kept block.
TEST(EntityToFaces, BuffersKeptWithinACommandServeEachEntityAloneAndGoWithIt) {
  db::build::newDrawing();
  AcDbObjectId circle = db::build::addEntity(
      "CIRCLE", {{8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "2"}, {39, "3"}});
  AcDbObjectId face = db::build::addEntity(
      "3DFACE", {{8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "0"}, {31, "0"},
                 {12, "1"}, {22, "1"}, {32, "0"}, {13, "0"}, {23, "1"}, {33, "0"}});
  AcDbObjectId text = db::build::addEntity("TEXT", {{8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {1, "hello"}});
  size_t liveBefore = acad::heap::stats().liveBlocks;
  render::commandStarted();
  struct Expected {
    AcDbObjectId id;
    size_t faces, points;
  };
  for (const Expected& expected : {Expected{circle, 142, 432}, Expected{face, 1, 4}, Expected{text, 0, 0},
                                   Expected{face, 1, 4}, Expected{circle, 142, 432}}) {
    Selection one(expected.id);
    WrlCallout callout;
    acreRegisterCallout(&callout);
    char* faceFile = nullptr;
    Acad::ErrorStatus status = acreEntityToFaces(one.set, &faceFile, 1);
    acreRegisterCallout(nullptr);
    acad_free(faceFile);
    ASSERT_TRUE(callout.faceObject);
    if (expected.faces == 0) {
      EXPECT_NE(status, Acad::eOk);
      EXPECT_FALSE(callout.faceObject->isComplete());
      continue;
    }
    ASSERT_EQ(status, Acad::eOk);
    ASSERT_TRUE(callout.faceObject->isComplete());
    EXPECT_EQ(callout.faceObject->faces()->size(), expected.faces);
    EXPECT_EQ(callout.faceObject->points()->size(), expected.points);
  }
  render::settleReadingAhead();
  EXPECT_EQ(acad::heap::stats().liveBlocks, liveBefore);
  db::build::newDrawing();
}
// clang-format on
