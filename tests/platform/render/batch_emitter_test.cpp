// Batches: bounded in size, complete in order, corners counted within
// their batch, nothing lost between batches.
#include <array>
#include <bit>
#include <cstdint>
#include <limits>
#include <span>

#include "facet_probe.h"
#include "render/mesh.h"

using namespace facet_test;
using render::BatchEmitter;

namespace {
// An n x n grid of unit quads sharing their vertices.
render::Mesh grid(int n) {
  render::Mesh mesh;
  for (int i = 0; i <= n; ++i)
    for (int j = 0; j <= n; ++j) mesh.addVertex({double(j), double(i), 0});
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      int32_t quad[4] = {i * (n + 1) + j, i * (n + 1) + j + 1, (i + 1) * (n + 1) + j + 1, (i + 1) * (n + 1) + j};
      mesh.addPolygon(quad);
    }
  return mesh;
}
}  // namespace

TEST(FacetBatches, LargeMeshIsSplitIntoBoundedSelfContainedBatches) {
  RecordingCallout callout;
  BatchEmitter out(&callout);
  render::Affine shift;
  shift.origin = {0, 0, 7};
  ASSERT_EQ(out.emit(grid(100), shift), Acad::eOk);
  out.finish();
  ASSERT_GE(callout.batches.size(), 3u);
  EXPECT_EQ(callout.outOfOrderCalls, 0);
  size_t polygons = 0;
  for (const auto& batch : callout.batches) {
    EXPECT_LE(batch.vertexCount, BatchEmitter::kMaxBatchVertices);
    EXPECT_LE(batch.polygonCount, BatchEmitter::kMaxBatchPolygons);
    EXPECT_EQ(batch.polygons.size(), static_cast<size_t>(batch.polygonCount));
    for (const auto& polygon : batch.polygons)
      for (int32_t corner : polygon) {
        EXPECT_GE(corner, 0);
        EXPECT_LT(corner, batch.vertexCount);
      }
    polygons += batch.polygons.size();
  }
  EXPECT_EQ(polygons, 10000u);
  EXPECT_NEAR(callout.area(), 10000.0, 1e-9);
  EXPECT_EQ(callout.box().low.z, 7);
  EXPECT_EQ(out.polygonsSent(), 10000u);
}

TEST(FacetBatches, SmallMeshesShareOneBatchAndNonFiniteOnesAreRefusedWhole) {
  RecordingCallout callout;
  BatchEmitter out(&callout);
  ASSERT_EQ(out.emit(grid(2), {}), Acad::eOk);
  ASSERT_EQ(out.emit(grid(3), {}), Acad::eOk);
  render::Affine huge;
  huge.axisX = {1e308, 0, 0};
  huge.origin = {1e308, 0, 0};
  EXPECT_EQ(out.emit(grid(2), huge), Acad::eInvalidInput);
  out.finish();
  ASSERT_EQ(callout.batches.size(), 1u);
  EXPECT_EQ(callout.batches[0].polygonCount, 4 + 9);
  EXPECT_EQ(callout.batches[0].vertexCount, 9 + 16);
  EXPECT_EQ(out.batches().size(), 1u);
}

// Each entity is built in the emitter's mesh: it comes back empty, keeping
// the storage of a small mesh for the next entity but not that of a huge one.
TEST(FacetBatches, TheMeshForTheNextEntityIsEmptyAndKeepsOnlySmallStorage) {
  BatchEmitter out(nullptr);
  out.emptyMesh() = grid(3);
  size_t smallBytes = out.emptyMesh().capacityBytes();
  EXPECT_GT(smallBytes, 0u);
  out.emptyMesh() = grid(3);
  const render::Mesh& again = out.emptyMesh();
  EXPECT_TRUE(again.empty());
  EXPECT_TRUE(again.vertices().empty());
  EXPECT_EQ(again.pieceCount(), 0u);
  EXPECT_EQ(again.capacityBytes(), smallBytes);
  out.emptyMesh() = grid(300);  // a large polyface's: kept for the next one
  EXPECT_GT(out.emptyMesh().capacityBytes(), size_t(1) << 20);
  out.emptyMesh() = grid(900);  // past 16 MB
  EXPECT_EQ(out.emptyMesh().capacityBytes(), 0u);
}

namespace {
// grid(150) built in the emitter's own mesh, as the facetter builds, with an
// unused vertex at `extra` added first or last.
Acad::ErrorStatus buildInPlace(BatchEmitter& out, const render::Affine& toWorld, const Vec3& extra, bool first) {
  render::Mesh whole = grid(150);
  render::Mesh& mesh = out.meshFor(toWorld);
  if (first) mesh.addVertex(extra);
  int32_t base = static_cast<int32_t>(mesh.vertexCount());
  for (const Vec3& p : whole.vertices()) mesh.addVertex(p);
  for (const render::Polygon& polygon : whole.polygons()) {
    int32_t corners[4];
    for (int32_t j = 0; j < polygon.count; ++j) corners[j] = base + polygon.corner[j];
    mesh.addPolygon(std::span<const int32_t>(corners, polygon.count));
    EXPECT_LT(mesh.polygons().size(), render::Mesh::kDrainAt);
  }
  if (!first) mesh.addVertex(extra);
  return out.emitBuilt();
}
}  // namespace

// A mesh built in place goes on while it grows, never holding a drain's
// worth of polygons. A vertex that does not stay finite refuses it wherever
// it comes: before the first polygons went (nothing is sent) or after. A
// mesh whose polygons all went on is not empty.
TEST(FacetBatches, MeshBuiltInPlaceGoesOnAsItGrowsAndIsRefusedForAVertexOutOfRange) {
  RecordingCallout callout;
  BatchEmitter out(&callout);
  render::Affine huge;
  huge.axisX = {1e300, 0, 0};
  EXPECT_EQ(buildInPlace(out, huge, {1e10, 0, 0}, true), Acad::eInvalidInput);
  EXPECT_TRUE(callout.batches.empty());
  out.restart(&callout);
  EXPECT_EQ(buildInPlace(out, huge, {1e10, 0, 0}, false), Acad::eInvalidInput);
  out.restart(&callout);
  EXPECT_EQ(buildInPlace(out, huge, {1, 0, 0}, false), Acad::eOk);
  EXPECT_EQ(out.polygonsTaken(), 150u * 150u);

  out.restart(&callout);
  render::Mesh& mesh = out.meshFor({});
  render::Mesh square = grid(1);
  for (const Vec3& p : square.vertices()) mesh.addVertex(p);
  int32_t quad[4] = {0, 1, 3, 2};
  for (size_t k = 0; k < render::Mesh::kDrainAt; ++k) mesh.addPolygon(quad);
  EXPECT_TRUE(mesh.polygons().empty());
  EXPECT_FALSE(mesh.empty());
  EXPECT_EQ(out.emitBuilt(), Acad::eOk);
  EXPECT_EQ(out.polygonsTaken(), render::Mesh::kDrainAt);
}

// Most meshes need no map to world coordinates. Those must reach the callout
// as the full map's sums leave them, bit for bit (a -0.0 comes out +0.0), and
// one with a vertex that is not finite is refused as the full map refuses it.
TEST(FacetBatches, MeshesInWorldCoordinatesArriveAsTheFullMapLeavesThem) {
  const double awkward[] = {-0.0, 0.0, 1e-310, -1e-310, -2.5, 1e300, -1e-5, 12345.678};
  render::Mesh mesh;
  for (double x : awkward)
    for (double y : awkward) {
      // Apart by their 1, 2 and 3: no corner is dropped as a repeat.
      int32_t first = mesh.addVertex({x, y, 1});
      mesh.addVertex({y, 2, x});
      mesh.addVertex({3, x, y});
      int32_t triangle[3] = {first, first + 1, first + 2};
      mesh.addPolygon(triangle);
    }
  RecordingCallout callout;
  BatchEmitter out(&callout);
  ASSERT_EQ(out.emit(mesh, {}), Acad::eOk);
  out.finish();
  ASSERT_EQ(callout.batches.size(), 1u);
  const std::vector<Vec3>& got = callout.batches[0].vertices;
  ASSERT_EQ(got.size(), mesh.vertices().size());
  for (size_t i = 0; i < got.size(); ++i) {
    using Bits = std::array<uint64_t, 3>;
    EXPECT_EQ(std::bit_cast<Bits>(got[i]), std::bit_cast<Bits>(render::Affine{}.apply(mesh.vertices()[i]))) << i;
  }

  const double inf = std::numeric_limits<double>::infinity();
  for (Vec3 bad : {Vec3{inf, 0, 0}, Vec3{0, -inf, 0}, Vec3{0, 0, std::nan("")}}) {
    render::Mesh one = grid(1);
    one.addVertex(bad);
    int32_t triangle[3] = {0, 1, 4};
    one.addPolygon(triangle);
    out.restart(&callout);
    EXPECT_EQ(out.emit(one, {}), Acad::eInvalidInput);
  }
}

// A mesh of one face over all its vertices in order (a 3DFACE) is placed
// without the general bookkeeping. It must come out as the same face does
// when the mesh also holds a vertex no face uses, which the general way
// takes: after other meshes, under a map, refused for a vertex that is not
// finite, and where the batch runs full.
TEST(FacetBatches, ALoneFaceIsPlacedAsTheGeneralWayPlacesIt) {
  render::Affine shift;
  shift.origin = {0.5, -2, 1e-3};
  const double inf = std::numeric_limits<double>::infinity();
  auto emitAll = [&](bool withUnusedVertex, RecordingCallout& callout) {
    BatchEmitter out(&callout);
    ASSERT_EQ(out.emit(grid(1), {}), Acad::eOk);  // corners out of vertex order
    for (int k = 0; k < 1100; ++k) {
      double z = k == 2 ? inf : k == 1 ? -0.0 : k;
      render::Mesh mesh;
      std::vector<int32_t> corners;
      for (Vec3 at : {Vec3{0, 0, z}, Vec3{1, 0, z}, Vec3{1, 1, z}, Vec3{0, 1, z}})
        if (k != 0 || corners.size() < 3) corners.push_back(mesh.addVertex(at));
      if (withUnusedVertex) mesh.addVertex({9, 9, 9});
      mesh.addPolygon(corners);
      EXPECT_EQ(out.emit(mesh, k % 2 ? render::Affine{} : shift), k == 2 ? Acad::eInvalidInput : Acad::eOk);
    }
    out.finish();
  };
  RecordingCallout lone, general;
  emitAll(false, lone);
  emitAll(true, general);
  ASSERT_EQ(lone.batches.size(), 2u);
  expectSameBatches(lone, general);
}
