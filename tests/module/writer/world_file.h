// Helpers for tests that write world files: whether one is there, and the
// facts the independent VRML reader finds in it.
#pragma once
#include <unistd.h>

#include <string>

#include "support/process.h"

namespace world_file {

inline bool exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

struct Check {
  int status;
  std::string facts;  // one fact a line, as the reader prints them
};

// Runs vrmlcheck on the file; status 0 means it parsed.
inline Check vrmlcheck(const std::string& path) {
  test_support::ProcessResult run = test_support::runCommand(
      "ASAN_OPTIONS=detect_leaks=0 " VRML_BIN_DIR "/vrmlcheck '" + path + "' 2>&1");
  return {run.status, run.output};
}

}  // namespace world_file
