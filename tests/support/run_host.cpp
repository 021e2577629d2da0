#include "support/run_host.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "support/files.h"

namespace test_support {

ProcessResult runHost(const std::string& arguments, const std::string& script) {
  // Named after the process too: test processes run side by side.
  std::string dir = testing::TempDir();
  std::string scriptPath = dir + "/host_test_" + std::to_string(getpid()) + ".scr";
  std::string registry = dir + "/host_test_registry_" + std::to_string(getpid()) + ".txt";
  std::remove(registry.c_str());
  writeFile(scriptPath, script);
  return runCommand("ARXHOST_REGISTRY='" + registry + "' '" + binPath("arxhost") + "' " + arguments + " --script '" +
                    scriptPath + "' </dev/null");
}

std::string binPath(const std::string& name) { return std::string(VRML_BIN_DIR) + "/" + name; }

}  // namespace test_support
