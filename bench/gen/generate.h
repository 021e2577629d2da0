// A whole generated drawing written to an open file.
#pragma once
#include <cstdint>
#include <cstdio>

#include "drawing_writer.h"

enum class DrawingShape { Polyface, Faces, Mesh };

// Vertices along each side of the square mesh nearest to `faces` quads.
int64_t meshSide(int64_t faces);

// The faces a drawing of `shape` asked for `faces` really holds.
int64_t facesHeld(DrawingShape shape, int64_t faces);

// False when any write failed; the file stays open.
bool writeDrawing(std::FILE* file, DrawingShape shape, int64_t faces, DxfRelease release);
