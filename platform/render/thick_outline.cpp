#include "thick_outline.h"

#include <cmath>

#include "curve_segments.h"

namespace render {

namespace {
// A point on a segment and the direction to its left, in the plane: a unit
// vector, or longer at a mitred joint, so that half the width along it
// reaches the edge.
struct Sample {
  Vec3 at;
  Vec3 left;
};

// The points of the segment from a to b, both ends included: the two ends
// of a straight one, the cut arc of one with a bulge.
std::vector<Sample> sampleSegment(const Vec3& a, const Vec3& b, double bulge) {
  Vec3 chord = b - a;
  double length = chord.length();
  if (length == 0) return {{a, {}}, {b, {}}};
  Vec3 leftNormal = Vec3{-chord.y, chord.x, 0} * (1.0 / length);
  if (bulge == 0) return {{a, leftNormal}, {b, leftNormal}};
  Vec3 center = (a + b) * 0.5 + leftNormal * (length / 2 * (1 - bulge * bulge) / (2 * bulge));
  Vec3 fromCenter = a - center;
  double radius = fromCenter.length();
  std::vector<Vec3> arc = arcPoints(center, radius, std::atan2(fromCenter.y, fromCenter.x), 4 * std::atan(bulge));
  arc.back() = b;  // exactly the next vertex, not its rounded image
  // Turning counterclockwise the left side faces the center.
  double inward = bulge > 0 ? -1.0 : 1.0;
  std::vector<Sample> samples;
  for (const Vec3& p : arc) samples.push_back({p, (p - center) * (inward / radius)});
  return samples;
}

// Where two wide segments of the same width meet, both edges run on to
// where they cross: the side direction at the joint becomes the mitre
// (L1 + L2) / (1 + L1.L2). Joints sharper than the limit keep square ends.
void mitre(Sample& end, Sample& start) {
  constexpr double kMitreLimit = 0.1;  // 1 + cos of the turn: about 154 degrees
  double turn = 1 + end.left.dot(start.left);
  if (end.left == Vec3{} || start.left == Vec3{} || turn < kMitreLimit) return;
  Vec3 side = (end.left + start.left) * (1 / turn);
  end.left = side;
  start.left = side;
}

// A wide segment: quads across its samples, and with thickness a closed slab.
void addStrip(const std::vector<Sample>& samples, double startWidth, double endWidth, const Affine& toWorld,
              const Vec3& sweep, Mesh& mesh) {
  size_t n = samples.size();
  std::vector<Vec3> left, right;
  for (size_t k = 0; k < n; ++k) {
    double half = (startWidth + (endWidth - startWidth) * k / (n - 1)) / 2;
    left.push_back(toWorld.apply(samples[k].at + samples[k].left * half));
    right.push_back(toWorld.apply(samples[k].at - samples[k].left * half));
  }
  for (size_t k = 0; k + 1 < n; ++k) {
    Vec3 quad[4] = {right[k], right[k + 1], left[k + 1], left[k]};
    if (sweep == Vec3{}) {
      mesh.addPolygon(quad);
    } else {
      mesh.addCaps(quad, sweep);
    }
  }
  if (sweep == Vec3{}) return;
  std::vector<Vec3> rim(right);
  rim.insert(rim.end(), left.rbegin(), left.rend());
  mesh.addWalls(rim, sweep, true);
}
}  // namespace

void buildOutline(const std::vector<OutlineVertex>& outline, bool closed, double elevation, double thickness,
                  const Affine& toWorld, Mesh& mesh) {
  size_t n = outline.size();
  if (n == 0) return;
  size_t segments = closed ? n : n - 1;
  std::vector<std::vector<Sample>> pieces;
  for (size_t i = 0; i < segments; ++i) {
    const OutlineVertex& from = outline[i];
    const OutlineVertex& to = outline[(i + 1) % n];
    pieces.push_back(sampleSegment({from.x, from.y, elevation}, {to.x, to.y, elevation}, from.bulge));
  }
  auto wide = [&](size_t segment) { return outline[segment].startWidth != 0 || outline[segment].endWidth != 0; };
  for (size_t i = 0; i < segments; ++i) {
    size_t next = (i + 1) % n;
    if (next < segments && wide(i) && wide(next) && outline[i].endWidth == outline[next].startWidth)
      mitre(pieces[i].back(), pieces[next].front());
  }
  Vec3 sweep = toWorld.axisZ * thickness;
  for (size_t i = 0; i < segments; ++i) {
    if (wide(i)) {
      addStrip(pieces[i], outline[i].startWidth, outline[i].endWidth, toWorld, sweep, mesh);
    } else if (thickness != 0) {
      std::vector<Vec3> path;
      for (const Sample& sample : pieces[i]) path.push_back(toWorld.apply(sample.at));
      mesh.addWalls(path, sweep, false);
    }
  }
}

}  // namespace render
