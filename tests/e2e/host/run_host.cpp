// Running the host and tools for the end-to-end tests.
#include "run_host.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

ProcessResult runCommand(const std::string& commandLine) {
  ProcessResult result{-1, ""};
  std::FILE* pipe = popen(commandLine.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

ProcessResult runHost(const std::string& arguments, const std::string& script) {
  // Named after the process too: test processes run side by side.
  std::string dir = testing::TempDir();
  std::string scriptPath = dir + "/host_test_" + std::to_string(getpid()) + ".scr";
  std::string registry = dir + "/host_test_registry_" + std::to_string(getpid()) + ".txt";
  std::remove(registry.c_str());
  std::ofstream(scriptPath, std::ios::binary) << script;
  return runCommand("ARXHOST_REGISTRY='" + registry + "' '" + binPath("arxhost") + "' " + arguments +
                    " --script '" + scriptPath + "' </dev/null");
}

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string binPath(const std::string& name) { return std::string(VRML_BIN_DIR) + "/" + name; }
