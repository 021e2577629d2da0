#include "thick_outline.h"

#include <cmath>

#include "curve_segments.h"

namespace acre_detail {

namespace {
// The points after `a` up to `b` of the segment from a to b: b alone for a
// straight one, the cut arc for one with a bulge.
void appendSegment(const Vec3& a, const Vec3& b, double bulge, std::vector<Vec3>& path) {
  Vec3 chord = b - a;
  double length = chord.length();
  if (bulge == 0 || length == 0) {
    path.push_back(b);
    return;
  }
  Vec3 leftNormal = Vec3{-chord.y, chord.x, 0} * (1.0 / length);
  Vec3 center = (a + b) * 0.5 + leftNormal * (length / 2 * (1 - bulge * bulge) / (2 * bulge));
  Vec3 fromCenter = a - center;
  double radius = fromCenter.length();
  std::vector<Vec3> arc = arcPoints(center, radius, std::atan2(fromCenter.y, fromCenter.x),
                                    4 * std::atan(bulge));
  path.insert(path.end(), arc.begin() + 1, arc.end() - 1);
  path.push_back(b);  // exactly the next vertex, not its rounded image
}
}  // namespace

void extrudeOutline(const std::vector<OutlineVertex>& outline, bool closed, double elevation,
                    double thickness, const Affine& toWorld, Mesh& mesh) {
  if (thickness == 0 || outline.empty()) return;
  std::vector<Vec3> path;
  size_t n = outline.size();
  path.push_back({outline[0].x, outline[0].y, elevation});
  size_t segments = closed ? n : n - 1;
  for (size_t i = 0; i < segments; ++i) {
    const OutlineVertex& next = outline[(i + 1) % n];
    appendSegment(path.back(), {next.x, next.y, elevation}, outline[i].bulge, path);
  }
  for (Vec3& p : path) p = toWorld.apply(p);
  mesh.addWalls(path, toWorld.axisZ * thickness, false);
}

}  // namespace acre_detail
