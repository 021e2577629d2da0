// Triangles that cover a plane region bounded by contours (outer ones
// counter-clockwise, holes clockwise), over the contours' own points: no
// boundary is cut, so neighbouring regions that share boundary points fit.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "acis_surfaces.h"

namespace render {

using Triangle = std::array<int32_t, 3>;

// `contours` hold indices into `points`. Triangles come out counter-clockwise.
// Where contours cross, the crossing is added to `points`. False when the
// region cannot be cut.
bool triangulateRegion(std::vector<Vec2>& points, const std::vector<std::vector<int32_t>>& contours,
                       std::vector<Triangle>& triangles);

}  // namespace render
