#include "support/process.h"

#include <sys/wait.h>

#include <cstdio>

namespace test_support {

ProcessResult runCommand(const std::string& commandLine) {
  ProcessResult result{-1, ""};
  std::FILE* pipe = ::popen(commandLine.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
  int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace test_support
