// Helpers for tests that write world files: a scratch path, the bytes
// written, and the facts the independent VRML reader finds in them.
#pragma once
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

namespace world_file {

inline std::string scratchPath(const char* stem) {
  return ::testing::TempDir() + "wrl_" + std::to_string(::getpid()) + "_" + stem + ".wrl";
}

inline std::string bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline bool exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

struct Check {
  int status;
  std::string facts;  // one fact a line, as the reader prints them
};

// Runs vrmlcheck on the file; status 0 means it parsed.
inline Check vrmlcheck(const std::string& path) {
  std::string command = "ASAN_OPTIONS=detect_leaks=0 " VRML_BIN_DIR "/vrmlcheck '" + path + "' 2>&1";
  Check check{-1, ""};
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return check;
  char chunk[4096];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) check.facts.append(chunk, n);
  int status = ::pclose(pipe);
  check.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return check;
}

}  // namespace world_file
