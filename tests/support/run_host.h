// Running the programs of this build as a person would.
#pragma once
#include <string>

#include "support/process.h"

namespace test_support {

// Runs arxhost from the build with `arguments`, writing `script` to a file
// first; the registry is a fresh file of the test's own.
ProcessResult runHost(const std::string& arguments, const std::string& script);

// A program of this build by name ("arxhost", "vrmlout", "vrmlcheck" ...).
std::string binPath(const std::string& name);

}  // namespace test_support
