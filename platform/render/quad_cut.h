// Whether a four-corner polygon can be handed over whole, and where to cut
// it when it cannot: a viewer fills a face declared convex as a fan, which
// covers the wrong area for a concave, bow-tie or twisted quadrilateral.
#pragma once
#include <array>
#include <span>

#include "geometry.h"

namespace render {

// A twist or a straight corner below this share of the quadrilateral's size
// is the rounding of a flat, convex face, not a shape of its own.
constexpr double kQuadTolerance = 1e-4;

// Which diagonal a quadrilateral is cut along.
enum class QuadCut {
  Whole,         // planar and strictly convex: not cut
  FirstThird,    // corners 0-2: triangles (0,1,2) and (0,2,3)
  SecondFourth,  // corners 1-3: triangles (0,1,3) and (1,2,3)
};

// How the cut is chosen when the quadrilateral cannot stay whole: the
// diagonal inside a concave one and the shorter of a twisted one, or always
// the one given (SOLID and TRACE are filled as two fixed triangles).
enum class QuadSplit { Inside, FirstThird, SecondFourth };

QuadCut quadCut(std::span<const Vec3, 4> corner, QuadSplit split);
// The same by the measures themselves (normal, flatness, each corner's
// turn), without the shortcut quadCut takes for a face clearly flat and
// convex: what that shortcut must agree with.
QuadCut cutByMeasure(std::span<const Vec3, 4> corner, QuadSplit split);

// The two triangles of a cut, as positions of the quadrilateral's corners;
// both keep its turning sense.
using CornerTriple = std::array<int, 3>;
std::array<CornerTriple, 2> halvesOf(QuadCut cut);

}  // namespace render
