// Facetting speed: a generated drawing is read once, then every entity is
// cut into polygons and reported to a callout that only counts; reported as
// faces per second. The whole set at once, and entity by entity as the
// export does it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "acadmem.h"
#include "acre.h"
#include "adslib.h"
#include "counting_callout.h"
#include "drawing_file.h"
#include "generated_drawing.h"

namespace {

DrawingShape shapeOf(int64_t arg) { return static_cast<DrawingShape>(arg); }

// Opens a generated drawing as the current one and selects everything.
bool prepare(benchmark::State& state, GeneratedDrawing& drawing, ads_name all) {
  std::string error;
  if (!drawing.ok()) error = "cannot write " + drawing.path();
  else if (support::Status opened = dxf::open(drawing.path()); !opened.ok())
    error = "cannot read it: " + opened.message();
  else if (ads_ssget("X", nullptr, nullptr, nullptr, all) != RTNORM) error = "nothing selected";
  if (error.empty()) return true;
  state.SkipWithError(error.c_str());
  return false;
}

void report(benchmark::State& state, const CountingCallout& callout) {
  state.counters["faces/s"] = benchmark::Counter(static_cast<double>(callout.faces), benchmark::Counter::kIsRate);
  state.counters["faces"] = static_cast<double>(callout.faces) / static_cast<double>(state.iterations());
  benchmark::DoNotOptimize(callout.cornerSum);
}

void releaseFaceFile(char* name) {
  if (!name) return;
  std::remove(name);
  acad_free(name);
}

void FacetWholeSet(benchmark::State& state) {
  GeneratedDrawing drawing(shapeOf(state.range(0)), state.range(1), DxfRelease::R2000);
  ads_name all;
  if (!prepare(state, drawing, all)) return;
  CountingCallout callout;
  acreRegisterCallout(&callout);
  for (auto _ : state) {
    char* faceFile = nullptr;
    if (acreEntityToFaces(all, &faceFile, 1) != Acad::eOk) state.SkipWithError("facetting failed");
    releaseFaceFile(faceFile);
  }
  acreRegisterCallout(nullptr);
  ads_ssfree(all);
  report(state, callout);
}

void FacetEachEntity(benchmark::State& state) {
  GeneratedDrawing drawing(shapeOf(state.range(0)), state.range(1), DxfRelease::R2000);
  ads_name all;
  if (!prepare(state, drawing, all)) return;
  long length = 0;
  ads_sslength(all, &length);
  CountingCallout callout;
  acreRegisterCallout(&callout);
  for (auto _ : state) {
    for (long i = 0; i < length; ++i) {
      ads_name entity, single;
      if (ads_ssname(all, i, entity) != RTNORM || ads_ssadd(entity, nullptr, single) != RTNORM) {
        state.SkipWithError("selection failed");
        break;
      }
      char* faceFile = nullptr;
      if (acreEntityToFaces(single, &faceFile, 1) != Acad::eOk) state.SkipWithError("facetting failed");
      releaseFaceFile(faceFile);
      ads_ssfree(single);
    }
  }
  acreRegisterCallout(nullptr);
  ads_ssfree(all);
  report(state, callout);
}

constexpr int64_t kPolyface = static_cast<int64_t>(DrawingShape::Polyface);
constexpr int64_t kFaces = static_cast<int64_t>(DrawingShape::Faces);
constexpr int64_t kMesh = static_cast<int64_t>(DrawingShape::Mesh);

void shapesAndSizes(benchmark::internal::Benchmark* bench) {
  bench->ArgNames({"shape", "faces"});
  for (int64_t shape : {kPolyface, kFaces, kMesh})
    for (int64_t faces : {10000, 100000}) bench->Args({shape, faces});
  bench->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(FacetWholeSet)->Apply(shapesAndSizes);
BENCHMARK(FacetEachEntity)->Apply(shapesAndSizes);
