// The cut of a quadrilateral is what a viewer shows: however quadCut gets
// to it, it must be the cut of the plain measure (normal, flatness, each
// corner's turn) for every shape, near every limit and on every scale.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "render/quad_cut.h"

namespace {

using render::QuadCut;
using render::QuadSplit;
using render::Vec3;
using Quad = std::array<Vec3, 4>;

// Compares every split; true when the quad stays whole.
bool expectSameCut(const Quad& quad) {
  bool whole = false;
  for (QuadSplit split : {QuadSplit::Inside, QuadSplit::FirstThird, QuadSplit::SecondFourth}) {
    QuadCut expected = render::cutByMeasure(quad, split);
    EXPECT_EQ(render::quadCut(quad, split), expected)
        << "corners (" << quad[0].x << " " << quad[0].y << " " << quad[0].z << ") (" << quad[1].x << " " << quad[1].y
        << " " << quad[1].z << ") (" << quad[2].x << " " << quad[2].y << " " << quad[2].z << ") (" << quad[3].x << " "
        << quad[3].y << " " << quad[3].z << ")";
    whole = expected == QuadCut::Whole;
  }
  return whole;
}

// A flat convex quadrilateral in a tilted plane, corners spread around a
// centre, then scaled and moved far from the origin.
Quad flatQuad(std::mt19937_64& random, double scale, double offset) {
  std::uniform_real_distribution<double> unit(-1, 1);
  std::uniform_real_distribution<double> step(0.2, 1.5);
  Vec3 u{unit(random), unit(random), unit(random)}, v{unit(random), unit(random), unit(random)};
  Quad quad;
  double angle = unit(random);
  for (Vec3& c : quad) {
    angle += step(random);
    double r = 0.5 + 0.5 * std::abs(unit(random));
    c = (u * (r * std::cos(angle)) + v * (r * std::sin(angle))) * scale + Vec3{offset, -offset, offset * 0.5};
  }
  return quad;
}

TEST(QuadCut, RandomFlatFacesOnEveryScaleGiveTheMeasuredCut) {
  std::mt19937_64 random(7);
  int whole = 0, all = 0;
  for (double scale : {1e-45, 1e-20, 1e-6, 1.0, 3e3, 1e15, 1e21, 1e40})
    for (double offset : {0.0, 1.0, 1e6}) {
      for (int i = 0; i < 2000; ++i, ++all) whole += expectSameCut(flatQuad(random, scale, offset * scale));
    }
  // Most of them stay whole: the shortcut is what is being checked.
  EXPECT_GT(whole, all / 2);
}

TEST(QuadCut, ShapesNearEachLimitGiveTheMeasuredCut) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> unit(-1, 1);
  const double tolerance = render::kQuadTolerance;
  for (int i = 0; i < 20000; ++i) {
    // A square lifted at one corner, around the flatness limit.
    double lift = tolerance * std::sqrt(2.0) * (1 + 0.5 * unit(random)) * std::pow(10.0, 2 * unit(random));
    expectSameCut({Vec3{0, 0, 0}, {1, 0, 0}, {1, 1, lift}, {0, 1, 0}});
    // A corner pushed in or out around straight.
    double bend = tolerance * 2 * unit(random) * std::pow(10.0, 2 * unit(random));
    expectSameCut({Vec3{0, 0, 0}, {1, bend, 0}, {2, 0, 0}, {1, 1, 0}});
    // A sliver, and a dart whose reflex corner moves through the diagonal.
    double thin = std::pow(10.0, -12 * std::abs(unit(random)));
    expectSameCut({Vec3{0, 0, 0}, {1, 0, 0}, {1, thin, 0}, {0, thin, 0}});
    double dent = 0.5 + 0.01 * unit(random);
    expectSameCut({Vec3{4, 0, 0}, {dent, dent, 0}, {0, 4, 0}, {0, 0, 0}});
    // A side much shorter than the others.
    double shortSide = std::pow(10.0, -15 * std::abs(unit(random)));
    expectSameCut({Vec3{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1 - shortSide, 1, 0}});
  }
}

TEST(QuadCut, TwistedBowTieRepeatedAndBrokenCornersGiveTheMeasuredCut) {
  std::mt19937_64 random(13);
  std::uniform_real_distribution<double> unit(-1, 1);
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  std::vector<Quad> quads = {
      {Vec3{0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 0}},                      // twisted
      {Vec3{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}},                      // bow-tie
      {Vec3{0, 0, 0}, {3, 0, 0}, {0, 1, 0}, {3, 2, 0}},                      // bow-tie of unequal loops
      {Vec3{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}},                      // collinear
      {Vec3{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {0, 1, 0}},                      // repeated corner
      {Vec3{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}},                      // one point
      {Vec3{0, 0, 0}, {1, 0, 0}, {1, 1, nan}, {0, 1, 0}},                    // not a number
      {Vec3{0, 0, 0}, {1, 0, 0}, {1, inf, 0}, {0, 1, 0}},                    // infinite
      {Vec3{0, 0, 0}, {1e300, 0, 0}, {1e300, 1e300, 0}, {0, 1e300, 0}},      // squares overflow
      {Vec3{0, 0, 0}, {1e-300, 0, 0}, {1e-300, 1e-300, 0}, {0, 1e-300, 0}},  // squares underflow
      {Vec3{1e16, 0, 0}, {1e16 + 2, 0, 0}, {1e16 + 2, 2, 0}, {1e16, 2, 0}},  // far from the origin
  };
  for (const Quad& quad : quads) expectSameCut(quad);
  // Random corners: mostly twisted, concave or crossed.
  for (int i = 0; i < 20000; ++i) {
    Quad quad;
    for (Vec3& c : quad) c = {unit(random), unit(random), unit(random) * (i % 2 ? 1e-3 : 1)};
    if (i % 5 == 0) quad[i % 4] = quad[(i + 1) % 4];
    expectSameCut(quad);
  }
}

}  // namespace
