#include "curve_segments.h"

#include <cmath>

namespace render {

int segmentsFor(double sweep) {
  // A hair under a whole step still counts as one, so quarter turns give whole numbers.
  double steps = std::ceil(std::fabs(sweep) / kSegmentStep - 1e-9);
  if (!(steps >= 1)) return 1;
  return steps > kSegmentsPerTurn ? kSegmentsPerTurn : static_cast<int>(steps);
}

std::vector<Vec3> arcPoints(const Vec3& center, double radius, double start, double sweep) {
  int segments = segmentsFor(sweep);
  std::vector<Vec3> points;
  points.reserve(segments + 1);
  for (int i = 0; i <= segments; ++i) {
    double angle = start + sweep * i / segments;
    points.push_back(center + Vec3{radius * std::cos(angle), radius * std::sin(angle), 0});
  }
  return points;
}

}  // namespace render
