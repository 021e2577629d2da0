// Points of B-spline curves and surfaces, rational or not, from their
// control points and clamped knot vectors.
#pragma once
#include "acis/model.h"
#include "geometry.h"

namespace render {

// Whether the data can be evaluated: counts and knots agree, knots do not
// fall, the degree is sensible.
bool nurbsUsable(const acis::NurbsCurve& curve);
bool nurbsUsable(const acis::NurbsSurface& surface);

// The parameter range [first, last] the curve or surface direction spans.
void nurbsRange(const std::vector<double>& knots, int32_t degree, double& first, double& last);

// The point at parameter t (clamped into the range).
Vec3 nurbsPoint(const acis::NurbsCurve& curve, double t);
Vec3 nurbsPoint(const acis::NurbsSurface& surface, double u, double v);

}  // namespace render
