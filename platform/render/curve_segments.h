// How curves are cut into straight pieces. A full turn is cut into
// kSegmentsPerTurn equal chords, an arc into as many as its sweep needs at
// most that angle each. So a chord strays at most r * (1 - cos(step / 2))
// from its circle, and a cut circle keeps sin(step) / step of the disc's area
// and sin(step / 2) / (step / 2) of its circumference. Curved surfaces follow
// the same rule: neighbouring corners of a facet differ in their normals by
// at most one step.
#pragma once
#include <numbers>
#include <vector>

#include "geometry.h"

namespace render {

constexpr int kSegmentsPerTurn = 72;
constexpr double kSegmentStep = 2 * std::numbers::pi / kSegmentsPerTurn;

// The chords a turn of `sweep` radians (either sign) is cut into: at least
// one, at most a full turn's.
int segmentsFor(double sweep);

// The points of an arc about `center` in the plane parallel to XY through it,
// from `start` by `sweep` radians
// (negative: clockwise), both ends included.
std::vector<Vec3> arcPoints(const Vec3& center, double radius, double start, double sweep);

}  // namespace render
