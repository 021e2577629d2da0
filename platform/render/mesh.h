// The facets of one entity before they are handed on: vertices and polygons
// of three or four corners over them.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "geometry.h"
#include "quad_cut.h"

namespace render {

struct Polygon {
  int32_t count = 0;
  int32_t corner[4] = {0, 0, 0, 0};
  // A quadrilateral that cannot go whole is handed over as two triangles,
  // its corners still placed in their order.
  QuadCut cut = QuadCut::Whole;
};

class Mesh;

// Takes the polygons of a mesh while it is still being built, so that a mesh
// of millions of faces never holds them all (BatchEmitter).
class PolygonDrain {
 public:
  // Hands on the polygons the mesh holds and drops them from it.
  virtual void take(Mesh& mesh) = 0;

 protected:
  ~PolygonDrain() = default;
};

class Mesh {
 public:
  // With a drain, every kDrainAt polygons go to it as they are added; the
  // vertices stay, since later polygons may use any of them.
  static constexpr size_t kDrainAt = 16384;
  void drainInto(PolygonDrain* drain) { m_drain = drain; }
  bool drains() const { return m_drain != nullptr; }
  // Hands the polygons held to the drain now, the vertices added so far
  // checked by it; false without a drain.
  bool handOn();
  // Forgets the vertices numbered below `count`, for a builder that made
  // every polygon over them and handed it on: a grid of a million vertices
  // is built holding two rows. Vertices keep their numbers.
  void forgetVerticesBefore(size_t count);

  int32_t addVertex(const Vec3& at);
  // Room for this many more vertices and polygons, when they are known ahead.
  void reserve(size_t vertices, size_t polygons);
  // Keeps the vertices numbered below `count`; for a builder that read points
  // it then does not use, before any polygon was added over them.
  void keepVertices(size_t count);
  // A polygon over vertices of this mesh. Corners repeating their neighbour
  // are merged; what keeps fewer than three corners is dropped; more than
  // four corners are cut into a fan of quadrilaterals (and a last triangle).
  // A quadrilateral that is not flat and strictly convex is marked to go
  // as two triangles, cut as `split` says.
  void addPolygon(std::span<const int32_t> corners, QuadSplit split = QuadSplit::Inside);
  // The same over new vertices at these points.
  void addPolygon(std::span<const Vec3> points, QuadSplit split = QuadSplit::Inside);

  // The side walls swept by moving the path by `sweep`, one quadrilateral per
  // segment; `closed` adds the segment from the last point to the first.
  void addWalls(std::span<const Vec3> path, const Vec3& sweep, bool closed);
  // A closed planar outline at its place and, moved by `sweep`, again; a
  // four-corner outline that must be cut is cut along the same diagonal in
  // both.
  void addCaps(std::span<const Vec3> outline, const Vec3& sweep, QuadSplit split = QuadSplit::Inside);

  // Empty again, its storage kept for the next entity; its drain stays.
  void clear();
  // The drain's: the polygons held are gone on, the vertices kept.
  void dropPolygons();
  // The bytes its storage holds.
  size_t capacityBytes() const;

  // The vertices held, numbered from vertexCount() - vertices().size().
  const std::vector<Vec3>& vertices() const { return m_vertices; }
  const Vec3& vertex(int32_t number) const { return m_vertices[static_cast<size_t>(number) - m_forgotten]; }
  // The vertices added, forgotten ones included.
  size_t vertexCount() const { return m_forgotten + m_vertices.size(); }
  const std::vector<Polygon>& polygons() const { return m_polygons; }
  // No polygon was added, held or drained.
  bool empty() const { return m_polygons.empty() && !m_drained; }
  // The polygons held to hand over: a cut quadrilateral counts twice.
  size_t pieceCount() const { return m_pieceCount; }

 private:
  // The corners left once repeated ones are merged: a face, a fan or nothing.
  void addKept(const int32_t* corners, size_t count, QuadSplit split);
  void addFan(std::span<const int32_t> corners);
  // A face of three or four corners; a quadrilateral is marked with its cut.
  void addFace(const int32_t* corners, int32_t count, QuadSplit split);
  // Holds the polygon, handing the polygons on when a drain's worth is held.
  void push(const Polygon& polygon);

  std::vector<Vec3> m_vertices;
  size_t m_forgotten = 0;  // vertices before the first held
  std::vector<Polygon> m_polygons;
  size_t m_pieceCount = 0;
  PolygonDrain* m_drain = nullptr;
  bool m_drained = false;
};

}  // namespace render
