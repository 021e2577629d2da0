// One face of a body cut into triangles over the shared edge points,
// turned so that they face the face's outward side.
#pragma once
#include <string>

#include "acis/model.h"
#include "acis_edges.h"
#include "mesh.h"

namespace render {

// False, with the reason, when the face cannot be cut; the mesh then holds
// none of its triangles.
bool cutFace(const acis::Body& body, const acis::Face& face, const BodyPoints& points, Mesh& mesh, std::string& reason);

}  // namespace render
