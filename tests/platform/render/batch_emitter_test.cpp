// Batches: bounded in size, complete in order, corners counted within
// their batch, nothing lost between batches.
#include <algorithm>
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
  out.emptyMesh() = grid(300);
  EXPECT_EQ(out.emptyMesh().capacityBytes(), 0u);
}

namespace {
// Builds grid(n) in the emitter's own mesh, as the facetter does, noting the
// most polygons the mesh held at once.
struct BuiltInPlace {
  Acad::ErrorStatus status;
  size_t mostHeld = 0;
};
// An `extra` vertex, unused, comes first or last.
enum class Extra { None, First, Last };
BuiltInPlace buildInPlace(BatchEmitter& out, int n, const render::Affine& toWorld, Extra where = Extra::None,
                          const Vec3& extra = {}) {
  render::Mesh whole = grid(n);
  render::Mesh& mesh = out.meshFor(toWorld);
  if (where == Extra::First) mesh.addVertex(extra);
  int32_t base = static_cast<int32_t>(mesh.vertices().size());
  for (const Vec3& p : whole.vertices()) mesh.addVertex(p);
  BuiltInPlace built;
  for (const render::Polygon& polygon : whole.polygons()) {
    int32_t corners[4];
    for (int32_t j = 0; j < polygon.count; ++j) corners[j] = base + polygon.corner[j];
    mesh.addPolygon(std::span<const int32_t>(corners, polygon.count));
    built.mostHeld = std::max(built.mostHeld, mesh.polygons().size());
  }
  if (where == Extra::Last) mesh.addVertex(extra);
  built.status = out.emitBuilt();
  return built;
}
}  // namespace

// A mesh built in place goes on to the batches while it grows; the batches
// are those of the same mesh sent whole, vertex for vertex.
TEST(FacetBatches, MeshBuiltInPlaceIsSentAsItGrowsInTheSameBatches) {
  render::Affine shift;
  shift.origin = {3, 0, 0};
  RecordingCallout whole, inPlace;
  BatchEmitter wholeOut(&whole), inPlaceOut(&inPlace);
  ASSERT_EQ(wholeOut.emit(grid(150), shift), Acad::eOk);
  wholeOut.finish();
  BuiltInPlace built = buildInPlace(inPlaceOut, 150, shift);
  ASSERT_EQ(built.status, Acad::eOk);
  inPlaceOut.finish();
  EXPECT_LT(built.mostHeld, render::Mesh::kDrainAt);
  expectSameBatches(inPlace, whole);
  EXPECT_EQ(inPlaceOut.polygonsSent(), 150u * 150u);

  // Exactly a drain's worth leaves nothing held, yet the mesh is not empty.
  RecordingCallout exact;
  BatchEmitter exactOut(&exact);
  render::Mesh& mesh = exactOut.meshFor({});
  render::Mesh strip = grid(1);
  for (int i = 0; i < 4; ++i) mesh.addVertex(strip.vertices()[i]);
  int32_t quad[4] = {0, 1, 3, 2};
  for (size_t k = 0; k < render::Mesh::kDrainAt; ++k) mesh.addPolygon(quad);
  EXPECT_TRUE(mesh.polygons().empty());
  EXPECT_FALSE(mesh.empty());
  EXPECT_EQ(exactOut.emitBuilt(), Acad::eOk);
  EXPECT_EQ(exactOut.polygonsTaken(), render::Mesh::kDrainAt);
}

// A vertex that does not stay finite refuses the mesh wherever it comes:
// before the first polygons go on (nothing is sent) or after some went.
// The next entity starts afresh.
TEST(FacetBatches, MeshBuiltInPlaceIsRefusedForAVertexThatDoesNotStayFinite) {
  RecordingCallout callout;
  BatchEmitter out(&callout);
  render::Affine huge;
  huge.axisX = {1e300, 0, 0};
  const Vec3 tooFar{1e10, 0, 0};
  EXPECT_EQ(buildInPlace(out, 150, huge, Extra::First, tooFar).status, Acad::eInvalidInput);
  EXPECT_TRUE(callout.batches.empty());
  EXPECT_EQ(out.polygonsTaken(), 0u);
  out.restart(&callout);
  EXPECT_EQ(buildInPlace(out, 150, huge, Extra::Last, tooFar).status, Acad::eInvalidInput);
  out.restart(&callout);
  EXPECT_EQ(buildInPlace(out, 150, huge).status, Acad::eOk);
  EXPECT_EQ(out.polygonsTaken(), 150u * 150u);
}
