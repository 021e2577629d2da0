// dxfgen SHAPE FACES RELEASE OUT.dxf
//   SHAPE   polyface | 3dface | mesh
//   FACES   number of quads (a mesh gets the nearest square grid)
//   RELEASE r12 | r2000
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "drawing_writer.h"
#include "shapes.h"

namespace {

// Cells per terrain row: small enough that a polyface part holds hundreds
// of rows, large enough that rows are not trivial.
constexpr int kColumns = 100;
constexpr int64_t kMaxFaces = int64_t{1} << 32;

int usage() {
  std::fputs("usage: dxfgen polyface|3dface|mesh FACES r12|r2000 OUT.dxf\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return usage();
  const char* shape = argv[1];
  char* end = nullptr;
  const long long faces = std::strtoll(argv[2], &end, 10);
  if (*end || faces < 1 || faces > kMaxFaces) return usage();
  DxfRelease release;
  if (!std::strcmp(argv[3], "r12"))
    release = DxfRelease::R12;
  else if (!std::strcmp(argv[3], "r2000"))
    release = DxfRelease::R2000;
  else
    return usage();
  const int side = static_cast<int>(std::lround(std::sqrt(static_cast<double>(faces)))) + 1;
  if (std::strcmp(shape, "polyface") && std::strcmp(shape, "3dface") && std::strcmp(shape, "mesh")) return usage();
  if (!std::strcmp(shape, "mesh") && side > 32767) {
    std::fputs("dxfgen: a mesh side cannot exceed 32767 vertices\n", stderr);
    return 2;
  }

  std::FILE* file = std::fopen(argv[4], "wb");
  if (!file) {
    std::fprintf(stderr, "dxfgen: cannot create %s\n", argv[4]);
    return 1;
  }
  bool written;
  {
    DxfTextOut out(file);
    DrawingWriter drawing(out, release);
    drawing.begin();
    if (!std::strcmp(shape, "polyface"))
      writePolyfaceTerrain(drawing, faces, kColumns);
    else if (!std::strcmp(shape, "3dface"))
      writeFaceTerrain(drawing, faces, kColumns);
    else
      writePolygonMesh(drawing, side, side);
    drawing.end();
    written = out.flush();
  }
  if (std::fclose(file) != 0 || !written) {
    std::fprintf(stderr, "dxfgen: writing %s failed\n", argv[4]);
    return 1;
  }
  return 0;
}
