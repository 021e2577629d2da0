// Faceting the solid-modeller entities of each corpus drawing that has any:
// the time one export adds for them, reading and cutting every body.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "counting_callout.h"
#include "db/database.h"
#include "drawing_file.h"
#include "render/entity_builders.h"
#include "render/facet_records.h"

namespace {

void FacetSolidsOfDrawing(benchmark::State& state, const std::string& path) {
  if (support::Status opened = dxf::open(path); !opened.ok()) {
    state.SkipWithError(opened.message().c_str());
    return;
  }
  std::vector<const db::Record*> solids;
  for (const db::Record* record : db::currentDatabase()->records())
    if (record->entity && !record->erased && render::isModelerType(record->type.name())) solids.push_back(record);
  CountingCallout callout;
  for (auto _ : state) {
    // One entity a call, as the export facets them.
    for (const db::Record* record : solids) {
      const db::Record* one[] = {record};
      benchmark::DoNotOptimize(render::facetRecords(one, &callout, nullptr));
    }
  }
  state.counters["entities"] = static_cast<double>(solids.size());
  state.counters["polygons"] = static_cast<double>(callout.faces) / static_cast<double>(state.iterations());
}

// One benchmark per corpus drawing that holds modeller entities.
const bool kRegistered = [] {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(VRML_CORPUS_DIR))
    if (entry.path().extension() == ".dxf") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    if (!dxf::open(file.string()).ok()) continue;
    bool any = false;
    for (const db::Record* record : db::currentDatabase()->records())
      any = any || (record->entity && render::isModelerType(record->type.name()));
    if (!any) continue;
    benchmark::RegisterBenchmark(("FacetSolids/" + file.filename().string()).c_str(), FacetSolidsOfDrawing,
                                 file.string())
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
