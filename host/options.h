// The host's command line: arxhost [DRAWING.dxf] [--load MODULE]...
// [--script FILE.scr] [--batch]
#pragma once
#include <string>
#include <vector>

struct HostOptions {
  std::string drawing;
  std::vector<std::string> modules;
  std::string script;
  bool batch = false;
};

// False, with `error` saying what is wrong, for arguments the host does not take.
bool parseHostOptions(int argc, const char* const* argv, HostOptions& options, std::string& error);

extern const char* const kHostUsage;
