// Triangles in a surface's parameters, made finer until neighbouring corners
// differ in their normals by no more than the chord rule's step. Only inner
// edges are split, never the boundary, whose points the neighbouring faces
// share; an edge is split for both its triangles at once, so no T-junction
// appears inside either.
#pragma once
#include <cstdint>
#include <vector>

#include "acis_surfaces.h"
#include "mesh.h"
#include "polygon_triangulator.h"

namespace render {

struct ParamMesh {
  std::vector<Vec2> points;
  std::vector<int32_t> ids;  // each point's mesh vertex; -1 until it has one
  std::vector<Triangle> triangles;
};

// The key of the edge between two points, whichever way it runs.
uint64_t edgeKey(int32_t a, int32_t b);

// Splits inner edges (those whose key is not in `boundary`, sorted) and
// gives every point a mesh vertex on the surface.
void refine(ParamMesh& region, const std::vector<uint64_t>& boundary, const ParamSurface& surface, Mesh& mesh);

}  // namespace render
