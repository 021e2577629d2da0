// Parsing the host's arguments.
#include "options.h"

const char* const kHostUsage = "usage: arxhost [DRAWING.dxf] [--load MODULE]... [--script FILE.scr] [--batch]\n";

bool parseHostOptions(int argc, const char* const* argv, HostOptions& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    bool takesValue = argument == "--load" || argument == "--script";
    if (takesValue && i + 1 >= argc) {
      error = argument + " needs a value";
      return false;
    }
    if (argument == "--load") {
      options.modules.push_back(argv[++i]);
    } else if (argument == "--script") {
      if (!options.script.empty()) {
        error = "only one --script may be given";
        return false;
      }
      options.script = argv[++i];
    } else if (argument == "--batch") {
      options.batch = true;
    } else if (argument.starts_with("-")) {
      error = "unknown option " + argument;
      return false;
    } else if (options.drawing.empty()) {
      options.drawing = argument;
    } else {
      error = "only one drawing may be given";
      return false;
    }
  }
  return true;
}
