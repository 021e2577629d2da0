// Points, directions and affine maps of the facetter.
#pragma once
#include <cmath>

#include "acis/model.h"

namespace render {

using Vec3 = acis::Vec3;

// p -> axisX * p.x + axisY * p.y + axisZ * p.z + origin.
struct Affine {
  Vec3 axisX{1, 0, 0};
  Vec3 axisY{0, 1, 0};
  Vec3 axisZ{0, 0, 1};
  Vec3 origin{};

  Vec3 apply(const Vec3& p) const { return applyToVector(p) + origin; }
  Vec3 applyToVector(const Vec3& v) const { return axisX * v.x + axisY * v.y + axisZ * v.z; }
  // This map followed by `outer`.
  Affine then(const Affine& outer) const {
    return {outer.applyToVector(axisX), outer.applyToVector(axisY), outer.applyToVector(axisZ), outer.apply(origin)};
  }
  bool isFinite() const { return axisX.isFinite() && axisY.isFinite() && axisZ.isFinite() && origin.isFinite(); }
};

// The object coordinate system of an extrusion direction, by the arbitrary
// axis rule, as a map from object to world coordinates. False for a direction
// too short or not finite to give axes.
bool objectToWorld(const Vec3& extrusion, Affine& map);

}  // namespace render
