// Reading the solids of the corpus drawings that hold the most ACIS data:
// every ACIS entity's payload found and read into the model, per drawing;
// and the data section's index, made once per drawing.
#include <benchmark/benchmark.h>

#include <set>
#include <string>

#include "acis/payload.h"
#include "db/database.h"
#include "db/modeler_data.h"
#include "db/record_tags.h"
#include "drawing_file.h"

namespace {

const char* const kDrawings[] = {"dxfparser__api-cw750-details.dxf", "libredwg__2004-Surface.dxf",
                                 "ezdxf__3dsolids.dxf", "acadsharp__sample_AC1032_ascii.dxf"};

const std::set<std::string> kAcisTypes = {"3DSOLID",      "REGION",          "BODY",          "SURFACE",
                                          "PLANESURFACE", "EXTRUDEDSURFACE", "LOFTEDSURFACE", "REVOLVEDSURFACE",
                                          "SWEPTSURFACE", "NURBSURFACE"};

bool openDrawing(benchmark::State& state) {
  support::Status opened = dxf::open(std::string(VRML_CORPUS_DIR) + "/" + kDrawings[state.range(0)]);
  if (opened.ok()) return true;
  state.SkipWithError(opened.message().c_str());
  return false;
}

void ReadAcisEntities(benchmark::State& state) {
  if (!openDrawing(state)) return;
  const db::Database& database = *db::currentDatabase();
  state.SetLabel(kDrawings[state.range(0)]);
  int64_t faces = 0;
  for (auto _ : state) {
    for (const db::Record* record : database.records()) {
      if (!record->entity || !kAcisTypes.count(record->type.str())) continue;
      db::RecordTags tags(*record);
      acis::Payload payload;
      if (!modelerPayloadOf(tags.all(), database, payload)) continue;
      faces += static_cast<int64_t>(acis::parsePayload(payload).body.faces.size());
    }
  }
  state.counters["faces"] = benchmark::Counter(static_cast<double>(faces), benchmark::Counter::kIsRate);
}

void IndexDataSection(benchmark::State& state) {
  if (!openDrawing(state)) return;
  state.SetLabel(kDrawings[state.range(0)]);
  for (auto _ : state) benchmark::DoNotOptimize(db::ModelerDataIndex(*db::currentDatabase()));
}

}  // namespace

BENCHMARK(ReadAcisEntities)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(IndexDataSection)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
