// Flat outlines: LWPOLYLINE and 2D POLYLINE. A thin one with thickness is a
// band of walls; a wide one is a flat strip, or a slab with thickness.
#pragma once
#include <vector>

#include "geometry.h"
#include "mesh.h"

namespace render {

// One vertex and the segment that starts at it.
struct OutlineVertex {
  double x = 0, y = 0;
  double bulge = 0;  // tan(quarter of the included angle); negative turns clockwise
  double startWidth = 0, endWidth = 0;
};

// The outline lies at height `elevation` of the object coordinates that
// `toWorld` places; its arcs are cut like every curve; thickness runs along
// the object Z axis. Wide segments are strips of their own, mitred where
// they meet a neighbour of the same width.
void buildOutline(const std::vector<OutlineVertex>& outline, bool closed, double elevation, double thickness,
                  const Affine& toWorld, Mesh& mesh);

}  // namespace render
