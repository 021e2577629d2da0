// The edges of a body cut once into chords, each a run of mesh vertices from
// its start vertex to its end vertex, so that both faces of an edge use the
// same points and a closed body stays closed.
#pragma once
#include <cstdint>
#include <vector>

#include "acis/model.h"
#include "mesh.h"

namespace render {

struct BodyPoints {
  std::vector<int32_t> vertices;            // the mesh vertex of each body vertex
  std::vector<std::vector<int32_t>> edges;  // each edge's mesh vertices, start to end; empty when unusable
};

// Adds the vertices and the edge points of the body to the mesh, in the
// body's own coordinates.
BodyPoints cutEdges(const acis::Body& body, Mesh& mesh);

}  // namespace render
