// Hands meshes to the registered callout in batches of bounded size: a
// header, the batch's vertices, its polygons with corners counted from 0
// within the batch.
#pragma once
#include <cstdint>
#include <vector>

#include "acadstrc.h"
#include "acre.h"
#include "geometry.h"
#include "mesh.h"

namespace render {

struct BatchCounts {
  int32_t vertices = 0;
  int32_t polygons = 0;
};

class BatchEmitter {
 public:
  // Upper bounds of one batch, which bound the memory of a batch.
  static constexpr int32_t kMaxBatchVertices = 4096;
  static constexpr int32_t kMaxBatchPolygons = 4096;
  // Upper bound of the polygons of one entity: a larger result is refused.
  static constexpr uint64_t kMaxEntityPolygons = 50'000'000;

  explicit BatchEmitter(AcreCallout* callout) : m_callout(callout) {}

  // Places the mesh into world coordinates and sends it. A mesh with a vertex
  // that does not stay finite is refused whole (eInvalidInput); one that
  // would pass the entity's bound is refused too (eInvalidExtents).
  // Meshes of one entity share batches; `finish` sends the last one.
  Acad::ErrorStatus emit(const Mesh& mesh, const Affine& toWorld);
  void finish();
  // Starts the next entity for `callout`, the buffers kept; release() frees them.
  void restart(AcreCallout* callout);
  void release();
  // An empty mesh to build the next one in: the storage of the last one
  // serves again, so a small entity allocates nothing. It is the caller's
  // until the next call.
  Mesh& emptyMesh();

  // Sent so far, and waiting in the open batch.
  uint64_t polygonsTaken() const { return m_polygonsSent + m_polygons.size(); }
  uint64_t polygonsSent() const { return m_polygonsSent; }
  uint64_t verticesSent() const { return m_verticesSent; }
  const std::vector<BatchCounts>& batches() const { return m_batches; }

 private:
  void flush();
  // One polygon record over mesh vertices already placed in the batch.
  void addRecord(int32_t count, const int32_t* corners);

  AcreCallout* m_callout;
  uint64_t m_polygonsSent = 0;
  uint64_t m_verticesSent = 0;
  std::vector<BatchCounts> m_batches;
  // The batch being filled.
  std::vector<AcreVertex> m_vertices;
  std::vector<AcrePolygon> m_polygons;
  std::vector<int32_t> m_corners;  // four per polygon
  // emit()'s scratch: the mesh in world coordinates, and where its vertices
  // sit in the open batch.
  std::vector<Vec3> m_world;
  std::vector<int32_t> m_slot;
  std::vector<int32_t> m_placed;
  std::vector<const int32_t*> m_cornerStarts;  // flush()'s: each polygon's corners
  Mesh m_mesh;                                 // emptyMesh()'s
};

}  // namespace render
