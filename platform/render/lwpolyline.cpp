// LWPOLYLINE: its vertices are repeated 10/20 tags, each followed by its own
// widths (40, 41) and bulge (42); a constant width (43) stands for them all.
#include "entity_builders.h"
#include "tag_reader.h"
#include "thick_outline.h"

namespace render {

Acad::ErrorStatus buildLwPolyline(const EntityView& entity, Mesh& mesh) {
  TagReader tags(entity.tags);
  Affine toWorld;
  if (!objectToWorld(tags.extrusion(), toWorld)) return Acad::eInvalidInput;
  double elevation = tags.real(38);
  double thickness = tags.real(39);
  double constantWidth = tags.real(43);
  bool closed = (tags.integer(70) & 1) != 0;
  if (!tags.valid()) return Acad::eInvalidInput;
  std::vector<OutlineVertex> outline;
  for (const db::TagView& tag : entity.tags) {
    double value = 0;
    if (tag.code != 10 && tag.code != 20 && (tag.code < 40 || tag.code > 42)) continue;
    if (!TagReader::parseReal(tag.value, value)) return Acad::eInvalidInput;
    if (tag.code == 10) {
      outline.push_back({value, 0, 0, constantWidth, constantWidth});
      continue;
    }
    if (outline.empty()) return Acad::eInvalidInput;  // a vertex value before any vertex
    OutlineVertex& vertex = outline.back();
    if (tag.code == 20) vertex.y = value;
    if (tag.code == 40) vertex.startWidth = value;
    if (tag.code == 41) vertex.endWidth = value;
    if (tag.code == 42) vertex.bulge = value;
  }
  buildOutline(outline, closed, elevation, thickness, toWorld, mesh);
  return Acad::eOk;
}

}  // namespace render
