// Runs the host on a drawing and a script and gathers what it says.
#pragma once
#include <functional>
#include <string>
#include <vector>

struct HostRun {
  int exitStatus = -1;     // the host's exit status; -1 when it could not run
  std::string transcript;  // everything it wrote to standard output
};

// Starts `program` with `arguments`, hands each piece of its output to
// `onOutput` as it comes, and waits for it.
HostRun runHost(const std::string& program, const std::vector<std::string>& arguments,
                const std::function<void(const std::string&)>& onOutput);

// The folder this program lies in: the host and the module lie beside it.
std::string programFolder();
