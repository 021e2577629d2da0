// The facets of one entity before they are handed on: vertices and polygons
// of three or four corners over them.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "geometry.h"

namespace acre_detail {

struct Polygon {
  int32_t count = 0;
  int32_t corner[4] = {0, 0, 0, 0};
};

class Mesh {
 public:
  int32_t addVertex(const Vec3& at);
  // A polygon over vertices of this mesh. Corners repeating their neighbour
  // are merged; what keeps fewer than three corners is dropped; more than
  // four corners are cut into a fan of quadrilaterals (and a last triangle).
  void addPolygon(std::span<const int32_t> corners);
  // The same over new vertices at these points.
  void addPolygon(std::span<const Vec3> points);

  // The side walls swept by moving the path by `sweep`, one quadrilateral per
  // segment; `closed` adds the segment from the last point to the first.
  void addWalls(std::span<const Vec3> path, const Vec3& sweep, bool closed);
  // A closed planar outline at its place and, moved by `sweep`, again.
  void addCaps(std::span<const Vec3> outline, const Vec3& sweep);

  const std::vector<Vec3>& vertices() const { return m_vertices; }
  const std::vector<Polygon>& polygons() const { return m_polygons; }
  bool empty() const { return m_polygons.empty(); }

 private:
  void addFan(std::span<const int32_t> corners);

  std::vector<Vec3> m_vertices;
  std::vector<Polygon> m_polygons;
};

}  // namespace acre_detail
