// A whole body cut into triangles in the coordinates of the space that holds
// it: every face that can be cut, and the count of those that could not.
#pragma once
#include <string>
#include <vector>

#include "acis/model.h"
#include "mesh.h"

namespace render {

struct BodyCut {
  int facesCut = 0;
  int facesLost = 0;
  std::vector<std::string> reasons;  // why faces were lost, each once
};

// Adds the body's triangles to `mesh`, placed by the body's transform.
BodyCut cutBody(const acis::Body& body, Mesh& mesh);

}  // namespace render
