// Helpers for tests that write world files: a scratch path and the facts
// the independent VRML reader finds in them.
#pragma once
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "support/process.h"

namespace world_file {

inline std::string scratchPath(const char* stem) {
  return ::testing::TempDir() + "wrl_" + std::to_string(::getpid()) + "_" + stem + ".wrl";
}

inline bool exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

struct Check {
  int status;
  std::string facts;  // one fact a line, as the reader prints them
};

// Runs vrmlcheck on the file; status 0 means it parsed.
inline Check vrmlcheck(const std::string& path) {
  test_support::ProcessResult run =
      test_support::runCommand("ASAN_OPTIONS=detect_leaks=0 " VRML_BIN_DIR "/vrmlcheck '" + path + "' 2>&1");
  return {run.status, run.output};
}

}  // namespace world_file
