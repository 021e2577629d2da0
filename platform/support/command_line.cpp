#include "support/command_line.h"

namespace support {

// Constant-initialised, so it is null rather than unset whatever order the
// library's static initialisers run in.
constinit Port<CommandLine> commandLine;

}  // namespace support
