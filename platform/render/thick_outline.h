// The walls of a flat outline with thickness: LWPOLYLINE and 2D POLYLINE.
#pragma once
#include <vector>

#include "geometry.h"
#include "mesh.h"

namespace acre_detail {

struct OutlineVertex {
  double x = 0, y = 0;
  double bulge = 0;  // tan(quarter of the included angle) of the segment that starts here
};

// The outline lies at height `elevation` of the object coordinates given by
// `toWorld`; its arcs are cut like every curve; the walls rise by `thickness`
// along the object Z axis.
void extrudeOutline(const std::vector<OutlineVertex>& outline, bool closed, double elevation,
                    double thickness, const Affine& toWorld, Mesh& mesh);

}  // namespace acre_detail
