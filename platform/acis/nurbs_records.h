// The B-spline data that spline surfaces and intcurves store in their
// subtypes, into the model's clamped form.
#pragma once
#include <string>

#include "acis/cursor.h"

namespace acis::detail {

// From the form word ("nubs" or "nurbs") on. False with `reason` set for data
// that is not a usable B-spline.
bool readNurbsCurve(Cursor& in, acis::NurbsCurve& curve, std::string& reason);
bool readNurbsSurface(Cursor& in, acis::NurbsSurface& surface, std::string& reason);

// The same shape run the other way: curve'(t) = curve(-t).
void reverseCurve(acis::NurbsCurve& curve);
// The v direction run the other way, which turns the normal du x dv around.
void reverseSurfaceV(acis::NurbsSurface& surface);

}  // namespace acis::detail
