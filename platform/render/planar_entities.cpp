// 3DFACE, SOLID and TRACE: one flat polygon, or a prism for a thick SOLID or TRACE.
#include "entity_builders.h"
#include "tag_reader.h"

namespace render {

namespace {

// The corners as read with the tags: a coordinate absent is 0, or the
// third corner's for the fourth.
void cornersAsRead(const FaceCorners& read, Vec3 (&corners)[4]) {
  constexpr uint16_t kAll = (1u << FaceCorners::kCoordinates) - 1;
  const double* given = read.coordinates;
  double filled[FaceCorners::kCoordinates];
  // Most faces give every coordinate.
  if (read.present != kAll) {
    for (int i = 0; i < FaceCorners::kCoordinates; ++i) {
      // The fourth corner's coordinates (from the tenth) fall back on the third's.
      double absent = i >= 9 ? filled[i - 3] : 0.0;
      filled[i] = read.present >> i & 1 ? read.coordinates[i] : absent;
    }
    given = filled;
  }
  for (int i = 0; i < 4; ++i) corners[i] = {given[3 * i], given[3 * i + 1], given[3 * i + 2]};
}

}  // namespace

Acad::ErrorStatus buildFace3d(const EntityView& entity, Mesh& mesh) {
  Vec3 corners[4];
  if (entity.corners.read) {
    cornersAsRead(entity.corners, corners);
  } else {
    TagReader tags(entity.tags);
    TagReader::PointTags found[4];
    tags.findPoints(10, found);
    Vec3 third = tags.pointOf(found[2]);
    // A face given with three corners has its fourth on the third: a triangle.
    Vec3 fourth = tags.pointOf(found[3], third);
    corners[0] = tags.pointOf(found[0]);
    corners[1] = tags.pointOf(found[1]);
    corners[2] = third;
    corners[3] = fourth;
    if (!tags.valid()) return Acad::eInvalidInput;
  }
  mesh.addPolygon(corners);
  return Acad::eOk;
}

Acad::ErrorStatus buildSolid(const EntityView& entity, Mesh& mesh) {
  TagReader tags(entity.tags);
  Affine toWorld;
  if (!objectToWorld(tags.extrusion(), toWorld)) return Acad::eInvalidInput;
  Vec3 third = tags.point(12);
  // The outline runs through the corners in the order 1, 2, 4, 3.
  Vec3 outline[4] = {tags.point(10), tags.point(11), tags.point(13, third), third};
  double thickness = tags.real(39);
  if (!tags.valid()) return Acad::eInvalidInput;
  for (Vec3& p : outline) p = toWorld.apply(p);
  // Filled as the triangles (1, 2, 3) and (2, 4, 3): where the outline
  // must be cut, it is cut along the diagonal from corner 2 to corner 3.
  if (thickness == 0) {
    mesh.addPolygon(outline, QuadSplit::SecondFourth);
    return Acad::eOk;
  }
  Vec3 sweep = toWorld.axisZ * thickness;
  mesh.addWalls(outline, sweep, true);
  mesh.addCaps(outline, sweep, QuadSplit::SecondFourth);
  return Acad::eOk;
}

}  // namespace render
