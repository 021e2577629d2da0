#include "batch_emitter.h"

#include <algorithm>
#include <cstring>

namespace render {
namespace {

// The most a mesh keeps for the next entity: that of some hundred thousand
// faces. A run of large polyfaces then builds each in the last one's memory
// instead of faulting in fresh pages for every one; all of it goes when the
// command ends.
constexpr size_t kKeptMeshBytes = 16 << 20;

// At least `wanted` entries (capped at `bound`), grown by doubling. Sizes,
// not capacities: the entries are then written in place.
template <typename T>
[[gnu::always_inline]] inline void makeRoom(std::vector<T>& storage, size_t wanted, size_t bound) {
  wanted = std::min(wanted, bound);
  if (storage.size() < wanted) storage.resize(std::min(std::max(wanted, 2 * storage.size()), bound));
}

}  // namespace

Acad::ErrorStatus BatchEmitter::emit(const Mesh& mesh, const Affine& toWorld) {
  beginMesh(toWorld);
  return send(mesh);
}

Mesh& BatchEmitter::meshFor(const Affine& toWorld) {
  Mesh& mesh = emptyMesh();
  beginMesh(toWorld);
  mesh.drainInto(this);
  return mesh;
}

Acad::ErrorStatus BatchEmitter::emitBuilt() {
  m_mesh.drainInto(nullptr);
  return m_refusal == Acad::eOk ? send(m_mesh) : m_refusal;
}

void BatchEmitter::take(Mesh& mesh) {
  if (m_refusal == Acad::eOk) m_refusal = send(mesh);
  mesh.dropPolygons();
}

void BatchEmitter::beginMesh(const Affine& toWorld) {
  static constexpr Affine kIdentity;
  m_toWorld = toWorld;
  m_identity = std::memcmp(&toWorld, &kIdentity, sizeof kIdentity) == 0;
  m_checked = 0;
  m_refusal = Acad::eOk;
  m_slotCount = 0;
  m_slotBase = 0;
  m_placedCount = 0;
}

// Defined before its callers and inline, so that they do not call it through
// the library's symbol table. Most entities lie in world coordinates. There
// the map's sums come to each coordinate plus +0.0 (a -0.0 turns +0.0), and
// a vertex stays finite exactly when it was.
inline Vec3 BatchEmitter::toWorld(const Vec3& vertex) const {
  if (m_identity) return {vertex.x + 0.0, vertex.y + 0.0, vertex.z + 0.0};
  return m_toWorld.apply(vertex);
}

// Inline for the same reason.
inline void BatchEmitter::addRecord(int32_t count, const int32_t* corners) {
  static constexpr AcrePolygon kBlank{};
  AcrePolygon& record = m_polygons[m_polygonCount];
  record = kBlank;
  record.cornerCount = static_cast<int16_t>(count);
  int32_t* placed = &m_corners[4 * m_polygonCount];
  ++m_polygonCount;
  for (int32_t j = 0; j < 4; ++j) placed[j] = j < count ? m_slot[static_cast<size_t>(corners[j]) - m_slotBase] : 0;
}

// A mesh of one whole face over all its vertices in their order, sent first
// of its mesh into a batch with room: a 3DFACE, a SOLID, a TRACE. Placed as
// send() would place it, without the slot bookkeeping a shared vertex needs.
// False, with nothing changed, for any other mesh or a vertex that is not
// finite: send() then takes it.
inline bool BatchEmitter::sendLoneFace(const Mesh& mesh) {
  const std::vector<Polygon>& polygons = mesh.polygons();
  if (polygons.size() != 1 || m_checked != 0 || m_slotCount != 0 || m_slotBase != 0 || m_placedCount != 0) return false;
  const Polygon& polygon = polygons.front();
  const auto count = static_cast<size_t>(polygon.count);
  if (polygon.cut != QuadCut::Whole || count > 4 || mesh.vertices().size() != count || mesh.vertexCount() != count)
    return false;
  for (size_t j = 0; j < count; ++j)
    if (polygon.corner[j] != static_cast<int32_t>(j)) return false;
  if (m_polygonsSent + m_polygonCount + 1 > kMaxEntityPolygons || m_vertices.size() < m_vertexCount + count ||
      m_polygons.size() <= m_polygonCount || m_corners.size() < 4 * (m_polygonCount + 1) || m_slot.size() < count ||
      m_placed.size() < count)
    return false;
  // Written straight into the batch, past its count until taken: a vertex
  // that is not finite leaves the batch as it was. A coordinate less itself
  // is +0.0 when finite and NaN otherwise, so their sum tells whether all
  // are finite without a branch for each.
  const size_t base = m_vertexCount;
  double drift = 0.0;
  for (size_t j = 0; j < count; ++j) {
    Vec3 w = toWorld(mesh.vertices()[j]);
    drift += (w.x - w.x) + (w.y - w.y) + (w.z - w.z);
    m_vertices[base + j] = AcreVertex{w.x, w.y, w.z};
  }
  if (drift != 0.0) return false;
  for (size_t j = 0; j < count; ++j) {
    m_slot[j] = static_cast<int32_t>(base + j);
    m_placed[j] = static_cast<int32_t>(j);
  }
  addRecord(polygon.count, polygon.corner);
  m_vertexCount += count;
  m_checked = m_slotCount = m_placedCount = count;
  return true;
}

Acad::ErrorStatus BatchEmitter::send(const Mesh& mesh) {
  if (sendLoneFace(mesh)) return Acad::eOk;
  const std::vector<Polygon>& polygons = mesh.polygons();
  if (m_polygonsSent + m_polygonCount + mesh.pieceCount() > kMaxEntityPolygons) return Acad::eInvalidExtents;
  const size_t vertexCount = mesh.vertexCount();
  // In world coordinates a vertex stays finite exactly when it was: no sums to check.
  for (; m_checked < vertexCount; ++m_checked) {
    const Vec3& vertex = mesh.vertex(static_cast<int32_t>(m_checked));
    if (!(m_identity ? vertex : toWorld(vertex)).isFinite()) return Acad::eInvalidInput;
  }
  // Where each mesh vertex sits in the current batch, -1 when not yet there;
  // the vertices the mesh forgot have none.
  const size_t held = mesh.vertices().size();
  const size_t forgotten = vertexCount - held;
  if (forgotten > m_slotBase) {
    size_t dropped = std::min(forgotten - m_slotBase, m_slotCount);
    std::copy(m_slot.begin() + static_cast<std::ptrdiff_t>(dropped),
              m_slot.begin() + static_cast<std::ptrdiff_t>(m_slotCount), m_slot.begin());
    m_slotCount -= dropped;
    m_slotBase = forgotten;
  }
  const size_t slots = vertexCount - m_slotBase;
  if (m_slot.size() < slots) m_slot.resize(std::max(slots, 2 * m_slot.size()));
  for (; m_slotCount < slots; ++m_slotCount) m_slot[m_slotCount] = -1;
  auto slot = [&](int32_t v) -> int32_t& { return m_slot[static_cast<size_t>(v) - m_slotBase]; };
  // The open batch grows by this mesh, up to its bounds.
  makeRoom(m_vertices, m_vertexCount + held, kMaxBatchVertices);
  makeRoom(m_polygons, m_polygonCount + mesh.pieceCount(), kMaxBatchPolygons);
  makeRoom(m_corners, 4 * (m_polygonCount + mesh.pieceCount()), 4 * size_t(kMaxBatchPolygons));
  makeRoom(m_placed, m_placedCount + held, kMaxBatchVertices);
  for (const Polygon& polygon : polygons) {
    int32_t pieces = polygon.cut == QuadCut::Whole ? 1 : 2;
    // Its new corners are counted only when all of them might not fit.
    int32_t fresh = 0;
    if (static_cast<int32_t>(m_vertexCount) + polygon.count > kMaxBatchVertices)
      for (int32_t j = 0; j < polygon.count; ++j) fresh += slot(polygon.corner[j]) < 0 ? 1 : 0;
    if (static_cast<int32_t>(m_vertexCount) + fresh > kMaxBatchVertices ||
        static_cast<int32_t>(m_polygonCount) + pieces > kMaxBatchPolygons) {
      flush();
      for (size_t k = 0; k < m_placedCount; ++k)
        if (static_cast<size_t>(m_placed[k]) >= m_slotBase) slot(m_placed[k]) = -1;
      m_placedCount = 0;
    }
    // Corners are placed in their order, also those of a cut quadrilateral,
    // so that cutting a face leaves the numbering of the points alone.
    for (int32_t j = 0; j < polygon.count; ++j) {
      int32_t v = polygon.corner[j];
      if (slot(v) >= 0) continue;
      slot(v) = static_cast<int32_t>(m_vertexCount);
      m_placed[m_placedCount++] = v;
      Vec3 w = toWorld(mesh.vertex(v));
      m_vertices[m_vertexCount++] = AcreVertex{w.x, w.y, w.z};
    }
    if (pieces == 1) {
      addRecord(polygon.count, polygon.corner);
      continue;
    }
    for (const CornerTriple& half : halvesOf(polygon.cut)) {
      int32_t corners[3] = {polygon.corner[half[0]], polygon.corner[half[1]], polygon.corner[half[2]]};
      addRecord(3, corners);
    }
  }
  return Acad::eOk;
}

void BatchEmitter::finish() { flush(); }

void BatchEmitter::restart(AcreCallout* callout) {
  m_callout = callout;
  m_polygonsSent = m_verticesSent = 0;
  m_batches.clear();
  m_vertexCount = m_polygonCount = 0;
}

void BatchEmitter::release() { *this = BatchEmitter(nullptr); }

Mesh& BatchEmitter::emptyMesh() {
  // A huge entity's mesh is not held on for small ones.
  if (m_mesh.capacityBytes() > kKeptMeshBytes) m_mesh = Mesh();
  m_mesh.clear();
  m_mesh.drainInto(nullptr);
  return m_mesh;
}

void BatchEmitter::flush() {
  if (m_polygonCount == 0) return;
  AcreMeshHeader header{};
  header.polygonCount = static_cast<int32_t>(m_polygonCount);
  header.vertexCount = static_cast<int32_t>(m_vertexCount);
  if (m_callout) {
    std::vector<const int32_t*>& corners = m_cornerStarts;
    if (corners.size() < m_polygonCount) corners.resize(m_polygonCount);
    for (size_t k = 0; k < m_polygonCount; ++k) corners[k] = &m_corners[4 * k];
    m_callout->onHeader(&header);
    m_callout->onVertices(m_vertices.data());
    m_callout->onFaces(m_polygons.data(), corners.data());
  }
  m_batches.push_back(BatchCounts{header.vertexCount, header.polygonCount});
  m_polygonsSent += m_polygonCount;
  m_verticesSent += m_vertexCount;
  m_vertexCount = m_polygonCount = 0;
}

}  // namespace render
