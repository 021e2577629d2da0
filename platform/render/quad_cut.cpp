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

// Whether the quadrilateral is flat and strictly convex by a wide margin:
// the measures below squared, without roots or divisions, and the common
// face of a mesh decided at a fraction of their cost. False leaves the
// quadrilateral to them; so do shapes near a limit, slivers and sizes whose
// squares leave the range where they keep their precision.
bool clearlyWhole(std::span<const Vec3, 4> corner) {
  // Coordinate sizes whose eighth powers stay normal numbers, and an area
  // that leaves the diagonals' normal the face's normal many times over.
  constexpr double kSmallest = 1e-40, kLargest = 1e40, kSliver = 1e-7, kShortSide = 1e-20;
  constexpr double kTolerance2 = kQuadTolerance * kQuadTolerance;
  const Vec3 side0 = corner[1] - corner[0], side1 = corner[2] - corner[1];
  const Vec3 side2 = corner[3] - corner[2], side3 = corner[0] - corner[3];
  const double square0 = side0.dot(side0), square1 = side1.dot(side1);
  const double square2 = side2.dot(side2), square3 = side3.dot(side3);
  const double perimeter2 = (square0 + square1) + (square2 + square3);
  // Also false for coordinates that are not finite numbers.
  if (!(perimeter2 >= kSmallest && perimeter2 <= kLargest)) return false;
  if (std::min(std::min(square0, square1), std::min(square2, square3)) < kShortSide * perimeter2) return false;
  const Vec3 diagonal0 = corner[2] - corner[0], diagonal1 = corner[3] - corner[1];
  const Vec3 across = diagonal0.cross(diagonal1);
  const double across2 = across.dot(across);
  if (across2 < kSliver * perimeter2 * perimeter2) return false;
  // Each corner turns about the normal by twice the least a strictly convex
  // one does.
  const double turnLimit = 4 * kTolerance2 * across2;
  auto turnsClearly = [&](const Vec3& in, double inSquare, const Vec3& out, double outSquare) {
    const double along = in.cross(out).dot(across);
    return along > 0 && along * along > turnLimit * inSquare * outSquare;
  };
  if (!turnsClearly(side3, square3, side0, square0) || !turnsClearly(side0, square0, side1, square1) ||
      !turnsClearly(side1, square1, side2, square2) || !turnsClearly(side2, square2, side3, square3))
    return false;
  // The corners' heights along the normal, times its length, spread within
  // half the flatness allowed. The normal is square to both diagonals: the
  // first and third corners stand at one height, the second and fourth at
  // another, apart by the first side's height.
  const double spread = side0.dot(across);
  const double size2 = std::max(diagonal0.dot(diagonal0), diagonal1.dot(diagonal1));
  return spread * spread <= 0.25 * kTolerance2 * across2 * size2;
}

}  // namespace

QuadCut cutByMeasure(std::span<const Vec3, 4> corner, QuadSplit split) {
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

QuadCut quadCut(std::span<const Vec3, 4> corner, QuadSplit split) {
  return clearlyWhole(corner) ? QuadCut::Whole : cutByMeasure(corner, split);
}

std::array<CornerTriple, 2> halvesOf(QuadCut cut) {
  if (cut == QuadCut::SecondFourth) return {CornerTriple{0, 1, 3}, CornerTriple{1, 2, 3}};
  return {CornerTriple{0, 1, 2}, CornerTriple{0, 2, 3}};
}

}  // namespace render
