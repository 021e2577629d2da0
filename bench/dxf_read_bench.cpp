// Reading speed of drawing files: a generated drawing of many 3D faces, read
// into a new current drawing; reported as bytes per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "drawing_file.h"
#include "generated_drawing.h"

namespace {

// A text drawing of `faces` 3DFACE entities with handles and typical number
// lengths, about 220 bytes a face.
std::string makeDrawing(const std::string& path, int faces) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fputs(
      "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n"
      "  0\nSECTION\n  2\nENTITIES\n",
      file);
  for (int i = 0; i < faces; ++i) {
    double x = i * 0.001234567, y = i * 0.007654321;
    std::fprintf(file, "  0\n3DFACE\n  5\n%X\n330\n1F\n100\nAcDbEntity\n  8\nLayer%d\n100\nAcDbFace\n", i + 0x100,
                 i % 7);
    for (int corner = 0; corner < 4; ++corner)
      std::fprintf(file, " 1%d\n%.6f\n 2%d\n%.6f\n 3%d\n%.6f\n", corner, x + corner, corner, y - corner, corner, x * y);
  }
  std::fputs("  0\nENDSEC\n  0\nEOF\n", file);
  std::fclose(file);
  return path;
}

void ReadTextDrawing(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() / "bench_read.dxf").string();
  makeDrawing(path, static_cast<int>(state.range(0)));
  const auto bytes = static_cast<int64_t>(std::filesystem::file_size(path));
  for (auto _ : state) {
    if (support::Status opened = dxf::open(path); !opened.ok()) state.SkipWithError(opened.message().c_str());
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
  std::filesystem::remove(path);
}

// The drawing the export goal is set on: one polyface mesh of a million
// faces split into conforming polylines, R2000.
void ReadPolyfaceDrawing(benchmark::State& state) {
  GeneratedDrawing drawing(DrawingShape::Polyface, state.range(0), DxfRelease::R2000);
  if (!drawing.ok()) {
    state.SkipWithError("the drawing could not be generated");
    return;
  }
  for (auto _ : state) {
    if (support::Status opened = dxf::open(drawing.path()); !opened.ok()) state.SkipWithError(opened.message().c_str());
  }
  state.SetBytesProcessed(state.iterations() * drawing.bytes());
  state.counters["file_MB"] = static_cast<double>(drawing.bytes()) / 1e6;
}

}  // namespace

// Wall-clock rates: a large drawing is read on two threads, and the CPU time
// of the calling thread alone would overstate them.
BENCHMARK(ReadTextDrawing)->Arg(200000)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(ReadPolyfaceDrawing)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
