// Runs arxhost as a person would, and the small tools the tests look with.
#pragma once
#include <string>

struct ProcessResult {
  int status;          // exit status, or -1 when it could not run
  std::string output;  // standard output
};

// Runs a shell command line and collects its standard output.
ProcessResult runCommand(const std::string& commandLine);

// Runs arxhost from the build with `arguments`, writing `script` to a file
// first; the registry is a fresh file of the test's own.
ProcessResult runHost(const std::string& arguments, const std::string& script);

// The whole content of a file (empty when it cannot be read).
std::string fileText(const std::string& path);

std::string binPath(const std::string& name);
