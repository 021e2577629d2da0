// The three kinds of large drawing: a terrain of quads as polyface meshes,
// as separate 3D faces, or as one M x N polygon mesh.
#pragma once
#include <cstdint>

#include "drawing_writer.h"

// Height of the terrain at grid point (column, row): cheap, bounded, and
// not flat, so every face has a distinct plane.
double terrainHeight(int64_t column, int64_t row);

// Quads of a grid `columns` cells wide, `faces` in all, split into
// POLYLINEs of whole rows with at most 32767 vertices each, so the vertex
// numbers in 71..74 stay within 16 bits.
void writePolyfaceTerrain(DrawingWriter& drawing, int64_t faces, int columns);

// The same quads as one 3DFACE entity each.
void writeFaceTerrain(DrawingWriter& drawing, int64_t faces, int columns);

// One polygon mesh of `rows` x `columns` vertices, (rows-1)(columns-1) faces.
void writePolygonMesh(DrawingWriter& drawing, int rows, int columns);
