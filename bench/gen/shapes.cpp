#include "shapes.h"

#include <algorithm>

namespace {

constexpr int kMaxVertexNumber = 32767;
constexpr double kSpacing = 0.5;

void vertexPoint(DxfTextOut& out, int64_t column, int64_t row) {
  out.point(10, column * kSpacing, row * kSpacing, terrainHeight(column, row));
}

uint64_t beginPolyline(DrawingWriter& drawing, const char* subclass, int flags, int64_t first, int64_t second) {
  const uint64_t handle = drawing.entity("POLYLINE", subclass);
  DxfTextOut& out = drawing.out();
  out.integer(66, 1);
  out.point(10, 0, 0, 0);
  out.integer(70, flags);
  out.integer(71, first);
  out.integer(72, second);
  return handle;
}

void endPolyline(DrawingWriter& drawing, uint64_t polyline) { drawing.entity("SEQEND", nullptr, nullptr, polyline); }

// One POLYLINE holding `rows` rows of `columns` cells starting at grid row
// `firstRow`; the last row may be partial (`lastRowCells`).
void polyfacePart(DrawingWriter& drawing, int64_t firstRow, int rows, int columns, int lastRowCells) {
  DxfTextOut& out = drawing.out();
  const int64_t vertices = static_cast<int64_t>(rows + 1) * (columns + 1);
  const int64_t faces = static_cast<int64_t>(rows - 1) * columns + lastRowCells;
  const uint64_t polyline = beginPolyline(drawing, "AcDbPolyFaceMesh", 64, vertices, faces);
  for (int row = 0; row <= rows; ++row)
    for (int column = 0; column <= columns; ++column) {
      drawing.entity("VERTEX", "AcDbVertex", "AcDbPolyFaceMeshVertex", polyline);
      vertexPoint(out, column, firstRow + row);
      out.integer(70, 192);
    }
  for (int row = 0; row < rows; ++row) {
    const int cells = row == rows - 1 ? lastRowCells : columns;
    for (int column = 0; column < cells; ++column) {
      drawing.entity("VERTEX", "AcDbFaceRecord", nullptr, polyline);
      out.point(10, 0, 0, 0);
      out.integer(70, 128);
      const int corner = row * (columns + 1) + column + 1;
      out.integer(71, corner);
      out.integer(72, corner + 1);
      out.integer(73, corner + columns + 2);
      out.integer(74, corner + columns + 1);
    }
  }
  endPolyline(drawing, polyline);
}

}  // namespace

double terrainHeight(int64_t column, int64_t row) {
  return static_cast<double>((column * 7 + row * 13) % 101) * 0.037 + static_cast<double>(row % 17) * 0.011;
}

void writePolyfaceTerrain(DrawingWriter& drawing, int64_t faces, int columns) {
  const int rowsPerPart = kMaxVertexNumber / (columns + 1) - 1;
  const int64_t totalRows = (faces + columns - 1) / columns;
  for (int64_t firstRow = 0; firstRow < totalRows; firstRow += rowsPerPart) {
    const int rows = static_cast<int>(std::min<int64_t>(rowsPerPart, totalRows - firstRow));
    const int64_t cellsBefore = (firstRow + rows - 1) * columns;
    const int lastRowCells = static_cast<int>(std::min<int64_t>(columns, faces - cellsBefore));
    polyfacePart(drawing, firstRow, rows, columns, lastRowCells);
  }
}

void writeFaceTerrain(DrawingWriter& drawing, int64_t faces, int columns) {
  DxfTextOut& out = drawing.out();
  for (int64_t face = 0; face < faces; ++face) {
    const int64_t row = face / columns, column = face % columns;
    drawing.entity("3DFACE", "AcDbFace");
    vertexPoint(out, column, row);
    out.point(11, (column + 1) * kSpacing, row * kSpacing, terrainHeight(column + 1, row));
    out.point(12, (column + 1) * kSpacing, (row + 1) * kSpacing, terrainHeight(column + 1, row + 1));
    out.point(13, column * kSpacing, (row + 1) * kSpacing, terrainHeight(column, row + 1));
  }
}

void writePolygonMesh(DrawingWriter& drawing, int rows, int columns) {
  DxfTextOut& out = drawing.out();
  const uint64_t polyline = beginPolyline(drawing, "AcDbPolygonMesh", 16, rows, columns);
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column) {
      drawing.entity("VERTEX", "AcDbVertex", "AcDbPolygonMeshVertex", polyline);
      vertexPoint(out, column, row);
      out.integer(70, 64);
    }
  endPolyline(drawing, polyline);
}
