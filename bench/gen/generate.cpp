#include "generate.h"

#include <cmath>

#include "shapes.h"

namespace {
// Cells per terrain row: small enough that a polyface part holds hundreds
// of rows, large enough that rows are not trivial.
constexpr int kColumns = 100;
}  // namespace

int64_t meshSide(int64_t faces) { return std::llround(std::sqrt(static_cast<double>(faces))) + 1; }

int64_t facesHeld(DrawingShape shape, int64_t faces) {
  return shape == DrawingShape::Mesh ? (meshSide(faces) - 1) * (meshSide(faces) - 1) : faces;
}

bool writeDrawing(std::FILE* file, DrawingShape shape, int64_t faces, DxfRelease release) {
  DxfTextOut out(file);
  DrawingWriter drawing(out, release);
  drawing.begin();
  if (shape == DrawingShape::Polyface) writePolyfaceTerrain(drawing, faces, kColumns);
  else if (shape == DrawingShape::Faces) writeFaceTerrain(drawing, faces, kColumns);
  else writePolygonMesh(drawing, static_cast<int>(meshSide(faces)), static_cast<int>(meshSide(faces)));
  drawing.end();
  return out.flush();
}
