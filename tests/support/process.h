// Running another program and collecting what it prints.
#pragma once
#include <string>

namespace test_support {

struct ProcessResult {
  int status;          // exit status, or -1 when it could not run or did not exit
  std::string output;  // standard output
};

// Runs a shell command line and collects its standard output.
ProcessResult runCommand(const std::string& commandLine);

}  // namespace test_support
