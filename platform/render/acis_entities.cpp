// 3DSOLID, REGION, BODY and the SURFACE family: the bodies their modeller
// data describes, read and cut. Faces that cannot be cut are left out and
// noted; the rest of the entity is kept.
#include <array>

#include "acis/payload.h"
#include "acis_bodies.h"
#include "entity_builders.h"
#include "lost_faces.h"

namespace render {

bool isModelerType(std::string_view type) {
  static constexpr std::array<std::string_view, 10> kTypes = {"3DSOLID",       "REGION",          "BODY",
                                                              "SURFACE",       "PLANESURFACE",    "EXTRUDEDSURFACE",
                                                              "LOFTEDSURFACE", "REVOLVEDSURFACE", "SWEPTSURFACE",
                                                              "NURBSURFACE"};
  for (std::string_view known : kTypes)
    if (known == type) return true;
  return false;
}

Acad::ErrorStatus buildModelerEntity(const EntityView& entity, const BlockSource* drawing, Mesh& mesh) {
  acis::Payload payload;
  if (!drawing || !drawing->modelerPayload(entity.tags, payload)) return Acad::eOk;  // no data: no surface
  acis::ParseResult read = acis::parsePayload(payload);
  if (!read.ok) {
    noteLostFaces(0, {read.error});
    return Acad::eInvalidInput;
  }
  BodyCut cut = cutBody(read.body, mesh);
  if (cut.facesLost > 0) noteLostFaces(cut.facesLost, cut.reasons);
  return Acad::eOk;
}

}  // namespace render
