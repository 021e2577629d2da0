// LINE, ARC and CIRCLE: the walls their thickness sweeps along the extrusion
// direction; a CIRCLE also closes its cylinder, or is a disc when flat.
#include <cmath>
#include <numbers>

#include "curve_segments.h"
#include "entity_builders.h"
#include "tag_reader.h"

namespace render {

namespace {
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// The arc or circle of an entity, in world coordinates; false when malformed.
bool readCircle(const EntityView& entity, double sweep, double start, std::vector<Vec3>& points, Vec3& thicknessSweep) {
  TagReader tags(entity.tags);
  Affine toWorld;
  if (!objectToWorld(tags.extrusion(), toWorld)) return false;
  Vec3 center = tags.point(10);
  double radius = tags.real(40);
  double thickness = tags.real(39);
  if (!tags.valid() || !(radius >= 0)) return false;
  points = arcPoints(center, radius, start, sweep);
  for (Vec3& p : points) p = toWorld.apply(p);
  thicknessSweep = toWorld.axisZ * thickness;
  return true;
}
}  // namespace

Acad::ErrorStatus buildLine(const EntityView& entity, Mesh& mesh) {
  TagReader tags(entity.tags);
  Affine toWorld;
  if (!objectToWorld(tags.extrusion(), toWorld)) return Acad::eInvalidInput;
  // A line's end points are world points already; only its thickness runs
  // along the extrusion direction.
  Vec3 ends[2] = {tags.point(10), tags.point(11)};
  double thickness = tags.real(39);
  if (!tags.valid()) return Acad::eInvalidInput;
  mesh.addWalls(ends, toWorld.axisZ * thickness, false);
  return Acad::eOk;
}

Acad::ErrorStatus buildCircle(const EntityView& entity, Mesh& mesh) {
  std::vector<Vec3> points;
  Vec3 sweep;
  if (!readCircle(entity, 2 * std::numbers::pi, 0, points, sweep)) return Acad::eInvalidInput;
  points.pop_back();  // the last point closes the turn on the first
  if (sweep == Vec3{}) {
    mesh.addPolygon(points);
    return Acad::eOk;
  }
  mesh.addWalls(points, sweep, true);
  mesh.addCaps(points, sweep);
  return Acad::eOk;
}

Acad::ErrorStatus buildArc(const EntityView& entity, Mesh& mesh) {
  TagReader tags(entity.tags);
  double start = tags.real(50) * kRadiansPerDegree;
  double end = tags.real(51) * kRadiansPerDegree;
  if (!tags.valid()) return Acad::eInvalidInput;
  // Counterclockwise from start to end; equal angles make a full turn.
  double sweep = std::fmod(end - start, 2 * std::numbers::pi);
  if (sweep <= 0) sweep += 2 * std::numbers::pi;
  std::vector<Vec3> points;
  Vec3 thicknessSweep;
  if (!readCircle(entity, sweep, start, points, thicknessSweep)) return Acad::eInvalidInput;
  mesh.addWalls(points, thicknessSweep, false);
  return Acad::eOk;
}

}  // namespace render
