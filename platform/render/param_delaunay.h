// Better-shaped triangles over a region in a surface's parameters: edges
// turned until the triangulation is Delaunay as drawn to the surface's
// scale, and inner points added on a grid where the surface bends both
// ways. Boundary edges stay as they are.
#pragma once
#include <cstdint>
#include <vector>

#include "acis_surfaces.h"
#include "polygon_triangulator.h"

namespace render {

struct ParamMesh;

// `boundary` holds the sorted keys of the edges that must stay.
void makeDelaunay(ParamMesh& region, const std::vector<uint64_t>& boundary, const ParamSurface& surface);
// Adds the grid points of spacing (du, dv) that lie well inside the region.
void addGridPoints(ParamMesh& region, const std::vector<uint64_t>& boundary, const ParamSurface& surface, double du,
                   double dv);

}  // namespace render
