#include "acis_bodies.h"

#include <algorithm>

#include "acis_edges.h"
#include "acis_faces.h"

namespace render {

namespace {

void noteReason(BodyCut& cut, const std::string& reason) {
  if (std::find(cut.reasons.begin(), cut.reasons.end(), reason) == cut.reasons.end()) cut.reasons.push_back(reason);
}

Affine placement(const acis::Transform& t) {
  return {t.rows[0] * t.scale, t.rows[1] * t.scale, t.rows[2] * t.scale, t.translation};
}

}  // namespace

BodyCut cutBody(const acis::Body& body, Mesh& mesh) {
  // Cut in the body's own coordinates, where its surfaces are defined, then
  // placed: a mirroring transform turns every facet round.
  Mesh local;
  BodyPoints points = cutEdges(body, local);
  BodyCut cut;
  for (const acis::Face& face : body.faces) {
    std::string reason;
    if (cutFace(body, face, points, local, reason)) {
      ++cut.facesCut;
    } else {
      ++cut.facesLost;
      noteReason(cut, reason);
    }
  }
  Affine place = placement(body.transform);
  if (!place.isFinite()) {
    cut.facesLost += cut.facesCut;
    cut.facesCut = 0;
    noteReason(cut, "a transform that is not finite");
    return cut;
  }
  bool mirrored = place.axisX.cross(place.axisY).dot(place.axisZ) < 0;
  int32_t base = static_cast<int32_t>(mesh.vertexCount());
  for (const Vec3& p : local.vertices()) mesh.addVertex(place.apply(p));
  for (const Polygon& polygon : local.polygons()) {
    int32_t corners[4];
    for (int32_t i = 0; i < polygon.count; ++i) {
      int32_t from = mirrored ? polygon.count - 1 - i : i;
      corners[i] = polygon.corner[from] + base;
    }
    mesh.addPolygon(std::span<const int32_t>(corners, polygon.count));
  }
  return cut;
}

}  // namespace render
