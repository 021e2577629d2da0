#include "geometry.h"

namespace render {

namespace {
// Below this length an extrusion direction carries no usable orientation.
constexpr double kShortestDirection = 1e-12;
// The arbitrary axis rule's bound for "close to the world Z axis".
constexpr double kNearZ = 1.0 / 64.0;

Vec3 unit(const Vec3& v) { return v * (1.0 / v.length()); }
}  // namespace

bool objectToWorld(const Vec3& extrusion, Affine& map) {
  if (!extrusion.isFinite()) return false;
  double largest = std::fmax(std::fabs(extrusion.x), std::fmax(std::fabs(extrusion.y), std::fabs(extrusion.z)));
  if (!(largest > kShortestDirection)) return false;
  Vec3 n = unit(extrusion * (1.0 / largest));  // scaled first so the length cannot overflow
  Vec3 ax = (std::fabs(n.x) < kNearZ && std::fabs(n.y) < kNearZ) ? Vec3{0, 1, 0}.cross(n) : Vec3{0, 0, 1}.cross(n);
  ax = unit(ax);
  Vec3 ay = unit(n.cross(ax));
  map = Affine{ax, ay, n, {}};
  return true;
}

}  // namespace render
