#include "quad_cut.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

// The normal of the plane the corners lie nearest: the cross product of the
// diagonals, twice the vector area. The two loops of a bow-tie cancel
// there, so where it is small against the widest corner's triangle, that
// triangle's normal serves. Zero when all corners lie on one line.
Vec3 faceNormal(std::span<const Vec3, 4> corner) {
  Vec3 across = (corner[2] - corner[0]).cross(corner[3] - corner[1]);
  Vec3 widest{};
  double widestLength = 0;
  for (int i = 0; i < 4; ++i) {
    Vec3 triangle = (corner[(i + 1) % 4] - corner[i]).cross(corner[(i + 3) % 4] - corner[i]);
    double length = triangle.length();
    if (length > widestLength) {
      widest = triangle;
      widestLength = length;
    }
  }
  return across.length() > kQuadTolerance * widestLength ? across : widest;
}

}  // namespace

QuadCut quadCut(std::span<const Vec3, 4> corner, QuadSplit split) {
  Vec3 diagonal0 = corner[2] - corner[0];
  Vec3 diagonal1 = corner[3] - corner[1];
  Vec3 normal = faceNormal(corner);
  double area = normal.length();
  // Without area there is nothing a viewer could fill wrongly.
  if (area == 0) return QuadCut::Whole;
  normal = normal * (1 / area);
  // Each length is taken once: this runs for every face of a mesh.
  double diagonalLength0 = diagonal0.length(), diagonalLength1 = diagonal1.length();
  double size = std::max(diagonalLength0, diagonalLength1);
  // The twist: how far the corners spread along the normal.
  double low = 0, high = 0;
  for (int i = 1; i < 4; ++i) {
    double height = (corner[i] - corner[0]).dot(normal);
    low = std::min(low, height);
    high = std::max(high, height);
  }
  bool planar = high - low <= kQuadTolerance * size;
  // The sine of each corner's turn, positive where the outline turns about
  // the normal; the least marks a reflex or straight corner.
  Vec3 side[4];  // from corner i to the next
  double sideLength[4];
  for (int i = 0; i < 4; ++i) {
    side[i] = corner[(i + 1) % 4] - corner[i];
    sideLength[i] = side[i].length();
  }
  double leastTurn = 2;
  int leastTurning = 0;
  for (int i = 0; i < 4; ++i) {
    const Vec3& in = side[(i + 3) % 4];
    const Vec3& out = side[i];
    double lengths = sideLength[(i + 3) % 4] * sideLength[i];
    double turn = lengths > 0 ? in.cross(out).dot(normal) / lengths : 0;
    if (turn < leastTurn) {
      leastTurn = turn;
      leastTurning = i;
    }
  }
  if (planar && leastTurn > kQuadTolerance) return QuadCut::Whole;
  if (split == QuadSplit::FirstThird) return QuadCut::FirstThird;
  if (split == QuadSplit::SecondFourth) return QuadCut::SecondFourth;
  // Seen along the normal, the diagonal from a reflex (or straight) corner
  // is the one inside the outline; a twisted face without one is cut along
  // its shorter diagonal.
  bool fromFirst = leastTurn > kQuadTolerance ? diagonalLength0 <= diagonalLength1 : leastTurning % 2 == 0;
  return fromFirst ? QuadCut::FirstThird : QuadCut::SecondFourth;
}

std::array<CornerTriple, 2> halvesOf(QuadCut cut) {
  if (cut == QuadCut::SecondFourth) return {CornerTriple{0, 1, 3}, CornerTriple{1, 2, 3}};
  return {CornerTriple{0, 1, 2}, CornerTriple{0, 2, 3}};
}

}  // namespace render
