#include "support/command_line.h"

namespace support {
namespace {
// Constant-initialised, so it is null rather than unset whatever order the
// library's static initialisers run in.
constinit CommandLine* g_line = nullptr;
}  // namespace

void connectCommandLine(CommandLine& line) { g_line = &line; }
CommandLine& commandLine() { return *g_line; }

}  // namespace support
