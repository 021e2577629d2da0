// dxfgen SHAPE FACES RELEASE OUT.dxf
//   SHAPE   polyface | 3dface | mesh
//   FACES   number of quads (a mesh gets the nearest square grid)
//   RELEASE r12 | r2000
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "generate.h"

namespace {

constexpr int64_t kMaxFaces = int64_t{1} << 32;
constexpr int64_t kMaxMeshSide = 32767;

int usage() {
  std::fputs("usage: dxfgen polyface|3dface|mesh FACES r12|r2000 OUT.dxf\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return usage();
  DrawingShape shape;
  if (!std::strcmp(argv[1], "polyface")) shape = DrawingShape::Polyface;
  else if (!std::strcmp(argv[1], "3dface")) shape = DrawingShape::Faces;
  else if (!std::strcmp(argv[1], "mesh")) shape = DrawingShape::Mesh;
  else return usage();
  char* end = nullptr;
  const long long faces = std::strtoll(argv[2], &end, 10);
  if (*end || faces < 1 || faces > kMaxFaces) return usage();
  DxfRelease release;
  if (!std::strcmp(argv[3], "r12")) release = DxfRelease::R12;
  else if (!std::strcmp(argv[3], "r2000")) release = DxfRelease::R2000;
  else return usage();
  if (shape == DrawingShape::Mesh && meshSide(faces) > kMaxMeshSide) {
    std::fputs("dxfgen: a mesh side cannot exceed 32767 vertices\n", stderr);
    return 2;
  }

  std::FILE* file = std::fopen(argv[4], "wb");
  if (!file) {
    std::fprintf(stderr, "dxfgen: cannot create %s\n", argv[4]);
    return 1;
  }
  const bool written = writeDrawing(file, shape, faces, release);
  if (std::fclose(file) != 0 || !written) {
    std::fprintf(stderr, "dxfgen: writing %s failed\n", argv[4]);
    return 1;
  }
  return 0;
}
