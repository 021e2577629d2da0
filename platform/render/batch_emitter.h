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

class BatchEmitter : private PolygonDrain {
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
  // The same for a mesh built in place: meshFor() gives emptyMesh(), whose
  // polygons go on to the batches while it is built; emitBuilt() sends the
  // rest, or says what refused the mesh on the way.
  Mesh& meshFor(const Affine& toWorld);
  Acad::ErrorStatus emitBuilt();
  void finish();
  // Starts the next entity for `callout`, the buffers kept; release() frees them.
  void restart(AcreCallout* callout);
  void release();
  // An empty mesh to build the next one in: the storage of the last one
  // serves again, so a small entity allocates nothing. It is the caller's
  // until the next call.
  Mesh& emptyMesh();

  // Sent so far, and waiting in the open batch.
  uint64_t polygonsTaken() const { return m_polygonsSent + m_polygonCount; }
  uint64_t polygonsSent() const { return m_polygonsSent; }
  uint64_t verticesSent() const { return m_verticesSent; }
  const std::vector<BatchCounts>& batches() const { return m_batches; }

 private:
  void flush();
  // A mesh starts: nothing of it placed or checked yet.
  void beginMesh(const Affine& toWorld);
  // Sends the polygons the mesh holds, its vertices added since the last call
  // checked first.
  Acad::ErrorStatus send(const Mesh& mesh);
  bool sendLoneFace(const Mesh& mesh);
  void take(Mesh& mesh) override;
  // One polygon record over mesh vertices already placed in the batch.
  void addRecord(int32_t count, const int32_t* corners);
  // A mesh vertex in world coordinates.
  Vec3 toWorld(const Vec3& vertex) const;

  AcreCallout* m_callout;
  uint64_t m_polygonsSent = 0;
  uint64_t m_verticesSent = 0;
  std::vector<BatchCounts> m_batches;
  // The batch being filled: the first counts of these hold it. Their sizes
  // only grow (see makeRoom()), so that a polygon is written in place
  // instead of appended piece by piece.
  std::vector<AcreVertex> m_vertices;
  std::vector<AcrePolygon> m_polygons;
  std::vector<int32_t> m_corners;  // four per polygon
  size_t m_vertexCount = 0;
  size_t m_polygonCount = 0;
  // The mesh being sent: its map to world coordinates, how many of its
  // vertices were found finite there, what refused it, and where its
  // vertices sit in the open batch. Vertices are mapped as they are placed:
  // a copy of a huge mesh in world coordinates is not held.
  Affine m_toWorld;
  bool m_identity = false;  // m_toWorld is Affine{}, bit for bit
  size_t m_checked = 0;
  Acad::ErrorStatus m_refusal = Acad::eOk;
  std::vector<int32_t> m_slot;  // from vertex m_slotBase on, its first m_slotCount
  size_t m_slotBase = 0;
  size_t m_slotCount = 0;
  std::vector<int32_t> m_placed;  // its first m_placedCount
  size_t m_placedCount = 0;
  std::vector<const int32_t*> m_cornerStarts;  // flush()'s: each polygon's corners
  Mesh m_mesh;                                 // emptyMesh()'s
};

}  // namespace render
