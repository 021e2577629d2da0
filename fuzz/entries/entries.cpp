// The targets by name, and the directory they write into.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>

#include "db/database.h"

#include "entries/fuzz_entries.h"

namespace fuzz_entry {

Entry entryNamed(std::string_view target) {
  if (target == "dxf_text") return dxfText;
  if (target == "dxf_binary") return dxfBinary;
  if (target == "lisp") return lisp;
  if (target == "facet") return facet;
  if (target == "acis") return acis;
  return nullptr;
}

const std::vector<std::string_view>& targetNames() {
  static const std::vector<std::string_view> names = {"dxf_text", "dxf_binary", "lisp", "facet", "acis"};
  return names;
}

void releaseDrawing() { db::setCurrentDatabase(nullptr); }

namespace {
// Registered only once the directory was made, so only ever removes that one.
void removeScratch() {
  std::error_code ignored;
  std::filesystem::remove_all(scratchDirectory(), ignored);
}
}  // namespace

const std::string& scratchDirectory() {
  // Never destroyed: the exit handler that removes the directory needs its name.
  static const std::string& directory = *new std::string([] {
    // Memory-backed when the machine has it: the targets write a file per input.
    std::error_code error;
    std::string base = std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : "/tmp";
    std::string pattern = base + "/vrml-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) return base;
    std::atexit(removeScratch);
    return pattern;
  }());
  return directory;
}

}  // namespace fuzz_entry
