// vrmlout: exports drawings to VRML world files without a person, by running
// VRMLOUT in the host with its prompts and dialog answered.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "batch_options.h"
#include "batch_script.h"
#include "drawing_export.h"
#include "side_by_side.h"

namespace {

namespace fs = std::filesystem;

bool isDrawing(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
  return extension == ".dxf";
}

// The drawings named, a folder standing for its .dxf files; false with the
// reason when a name is neither.
bool listDrawings(const std::vector<std::string>& names, std::vector<std::string>& drawings, std::string& error) {
  for (const std::string& name : names) {
    std::error_code problem;
    if (!fs::is_directory(name, problem)) {
      if (!fs::exists(name, problem)) {
        error = name + ": no such drawing or folder";
        return false;
      }
      drawings.push_back(name);
      continue;
    }
    std::vector<std::string> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(name, problem))
      if (entry.is_regular_file() && isDrawing(entry.path())) found.push_back(entry.path().string());
    if (found.empty()) {
      error = name + ": no .dxf drawings in this folder";
      return false;
    }
    std::sort(found.begin(), found.end());
    drawings.insert(drawings.end(), found.begin(), found.end());
  }
  return true;
}

std::string outputFor(const BatchOptions& options, const std::string& drawing) {
  if (!options.output.empty()) return withWorldExtension(options.output);
  fs::path world = fs::path(drawing).replace_extension(".wrl");
  return options.outDir.empty() ? world.string() : (fs::path(options.outDir) / world.filename()).string();
}

int badArguments(const std::string& error) {
  std::fprintf(stderr, "vrmlout: %s\n%s", error.c_str(), kBatchUsage);
  return kBadArguments;
}

}  // namespace

int main(int argc, char** argv) {
  BatchOptions options;
  std::string error;
  if (!parseBatchOptions(argc, argv, options, error)) return badArguments(error);
  if (options.help) {
    std::fputs(kBatchHelp, stdout);
    return kExported;
  }
  std::vector<std::string> drawings;
  if (!listDrawings(options.drawings, drawings, error)) return badArguments(error);
  if (drawings.size() > 1 && !options.preview.empty()) return badArguments("--preview takes one drawing");
  if (drawings.size() > 1 && !options.html.empty()) return badArguments("--html takes one drawing");
  std::error_code problem;
  if (!options.outDir.empty() && !fs::is_directory(options.outDir) && !fs::create_directories(options.outDir, problem))
    return badArguments("cannot create " + options.outDir + ": " + problem.message());

  // The heap stays on ordinary pages. Asked for huge ones
  // (glibc.malloc.hugetlb=1), the kernel faulted them in faster on a quiet
  // machine, but once other programs had used the memory it compacted it on
  // each fault: seconds for a large drawing.
  // A verbose run also hears which solids lost faces in the facetter.
  if (options.verbose) setenv("ARXHOST_FACET_NOTES", "1", 1);
  if (drawings.size() == 1)
    return exportDrawing(options, drawings[0], outputFor(options, drawings[0]), isatty(STDERR_FILENO));
  int jobs = options.jobs > 0 ? options.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  int failed = runSideBySide(drawings.size(), jobs, [&](size_t i) {
    return exportDrawing(options, drawings[i], outputFor(options, drawings[i]), false);
  });
  if (failed > 0) std::fprintf(stderr, "vrmlout: %d of %zu drawings failed\n", failed, drawings.size());
  return failed > 0 ? kExportFailed : kExported;
}
