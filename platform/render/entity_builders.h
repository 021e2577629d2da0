// Builders of the facets of one entity type, in the coordinates of the space
// that holds the entity (world coordinates at the top, block coordinates
// inside a block). A builder returns eOk with nothing added when the entity
// has no surface (a line without thickness), eInvalidInput when its values
// are malformed or degenerate (a zero extrusion direction).
#pragma once
#include <string_view>

#include "acadstrc.h"
#include "entity_facetter.h"
#include "entity_view.h"
#include "mesh.h"

namespace render {

using Builder = Acad::ErrorStatus (*)(const EntityView& entity, Mesh& mesh);

Acad::ErrorStatus buildFace3d(const EntityView& entity, Mesh& mesh);
Acad::ErrorStatus buildSolid(const EntityView& entity, Mesh& mesh);  // SOLID and TRACE
Acad::ErrorStatus buildLine(const EntityView& entity, Mesh& mesh);
Acad::ErrorStatus buildCircle(const EntityView& entity, Mesh& mesh);
Acad::ErrorStatus buildArc(const EntityView& entity, Mesh& mesh);
Acad::ErrorStatus buildLwPolyline(const EntityView& entity, Mesh& mesh);
Acad::ErrorStatus buildPolyline(const EntityView& entity, Mesh& mesh);
Acad::ErrorStatus buildSubdMesh(const EntityView& entity, Mesh& mesh);

// The solids, regions and surfaces of the solid modeller, whose data the
// drawing may keep apart from their tags (`drawing` finds it).
bool isModelerType(std::string_view type);
Acad::ErrorStatus buildModelerEntity(const EntityView& entity, const BlockSource* drawing, Mesh& mesh);

// The builder of a type, null for a type the facetter cannot cut.
Builder builderFor(std::string_view type);
// The same for the types whose polygons are few whatever the entity holds,
// and whose builder reads nothing but the entity: those are built ahead on
// another thread, into a mesh of their own.
Builder builderAheadFor(std::string_view type);
// An entity's mesh built so, and what its builder said.
struct BuiltAhead {
  Acad::ErrorStatus status = Acad::eOk;
  Mesh mesh;
};
// Hands it to `out` as facetEntity would have built and handed it.
Acad::ErrorStatus emitBuiltAhead(const BuiltAhead& built, BatchEmitter& out);

}  // namespace render
