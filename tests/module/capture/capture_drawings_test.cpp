// The capture fed by the real facetter from drawings read from file: every
// stored face refers to a stored point, however many batches an entity
// takes, and each entity's face file and blocks are given back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "acadmem.h"
#include "adslib.h"
#include "db/database.h"
#include "db/modeler_data.h"
#include "drawing_file.h"
#include "heap_faults.h"
#include "support/corpus.h"
#include "support/status_matchers.h"
#include "wrl_out.h"

namespace {

struct Capture {
  Acad::ErrorStatus status = Acad::eOk;
  size_t points = 0, faces = 0;
  bool indexesInRange = true;
  double area = 0;
};

double triangleArea(const WrlPoint& a, const WrlPoint& b, const WrlPoint& c) {
  double u[3] = {b.x() - a.x(), b.y() - a.y(), b.z() - a.z()};
  double v[3] = {c.x() - a.x(), c.y() - a.y(), c.z() - a.z()};
  double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
  return std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]) / 2;
}

// One entity through a one-entity set, as the export loop does it.
Capture capture(const db::Record& record) {
  Capture result;
  ads_name entity, set;
  EXPECT_EQ(acdbGetAdsName(entity, AcDbObjectId(const_cast<db::Record*>(&record))), Acad::eOk);
  if (ads_ssadd(entity, nullptr, set) != RTNORM) {
    result.status = Acad::eInvalidAdsName;
    return result;
  }
  WrlCallout callout;
  acreRegisterCallout(&callout);
  char* faceFile = nullptr;
  result.status = acreEntityToFaces(set, &faceFile, 1);
  acreRegisterCallout(nullptr);
  ads_ssfree(set);
  EXPECT_EQ(faceFile, nullptr) << "the capture object had the polygons: no face file";
  acad_free(faceFile);
  if (result.status != Acad::eOk || !callout.faceObject->isComplete()) return result;
  const WrlPointList& points = *callout.faceObject->points();
  result.points = points.size();
  result.faces = callout.faceObject->faces()->size();
  for (const WrlFace& face : *callout.faceObject->faces()) {
    for (int j = 0; j < face.count(); ++j)
      result.indexesInRange = result.indexesInRange && face.corner(j) >= 0 && size_t(face.corner(j)) < points.size();
    if (!result.indexesInRange) break;
    for (int j = 1; j + 1 < face.count(); ++j)
      result.area += triangleArea(points.at(face.corner(0)), points.at(face.corner(j)), points.at(face.corner(j + 1)));
  }
  return result;
}

// A polygon mesh of n x n vertices one unit apart, as an old drawing file holds it.
std::string gridDrawing(int n) {
  std::string dxf = "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n8\n0\n66\n1\n70\n16\n71\n" + std::to_string(n) + "\n72\n" +
                    std::to_string(n) + "\n";
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      dxf += "0\nVERTEX\n8\n0\n10\n" + std::to_string(j) + "\n20\n" + std::to_string(i) + "\n30\n0\n70\n64\n";
  return dxf + "0\nSEQEND\n8\n0\n0\nENDSEC\n0\nEOF\n";
}

}  // namespace

TEST(CaptureDrawings, MeshOfManyBatchesKeepsEveryFaceOnItsOwnPoints) {
  std::filesystem::path path = std::filesystem::temp_directory_path() / "capture_grid.dxf";
  std::ofstream(path) << gridDrawing(100);
  ASSERT_THAT(dxf::open(path.string()), test_support::Succeeds());
  std::filesystem::remove(path);
  size_t liveBefore = acad::heap::stats().liveBlocks;
  ASSERT_EQ(db::currentDatabase()->entities().size(), 1u);
  Capture grid = capture(*db::currentDatabase()->entities()[0]);
  ASSERT_EQ(grid.status, Acad::eOk);
  EXPECT_EQ(grid.faces, 99u * 99u);
  EXPECT_GE(grid.points, 100u * 100u);  // vertices shared across a batch boundary come twice
  EXPECT_TRUE(grid.indexesInRange);
  EXPECT_NEAR(grid.area, 99.0 * 99.0, 1e-6);
  EXPECT_EQ(acad::heap::stats().liveBlocks, liveBefore);
}

TEST(CaptureDrawings, EveryCorpusEntityCapturesWithinItsPointsAndLeavesNothingBehind) {
  SKIP_WITHOUT_CORPUS();
  size_t complete = 0;
  for (const auto& drawing : test_support::corpusDrawings()) {
    if (!dxf::open(drawing.string()).ok()) continue;
    // The index of the drawing's modeller data is built when a solid first
    // asks for it and lives as long as the drawing: not a leak of the capture.
    db::currentDatabase()->modelerData();
    size_t liveBefore = acad::heap::stats().liveBlocks;
    for (const db::Record* record : db::currentDatabase()->entities()) {
      if (record->erased) continue;
      Capture one = capture(*record);
      EXPECT_TRUE(one.indexesInRange) << drawing.filename() << " " << record->type.name();
      complete += one.faces ? 1 : 0;
    }
    EXPECT_EQ(acad::heap::stats().liveBlocks, liveBefore) << drawing.filename();
  }
  EXPECT_GE(complete, 1500u);
}
