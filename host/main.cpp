// arxhost: a command line that opens a drawing, loads modules through their
// exports, runs commands, AutoLISP and scripts, and unloads everything at the
// end.
#include <malloc.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "arx_command.h"
#include "drawing_commands.h"
#include "help_command.h"
#include "list_command.h"
#include "options.h"
#include "platform.h"
#include "session.h"

namespace {

// A person at the terminal: Ctrl+C cancels what runs instead of ending the
// host, and the terminal is put back however the host ends.
void useTerminal(bool person) {
  acad::console::setInteractive(person);
  if (!person) return;
  ui::terminal::guardTerminal();
  std::signal(SIGINT, SIG_IGN);
}

// Opens the script, or prepares the terminal; false when the script is missing.
bool chooseInput(const HostOptions& options, std::FILE*& script) {
  if (!options.script.empty()) {
    script = std::fopen(options.script.c_str(), "r");
    if (!script) {
      std::fprintf(stderr, "arxhost: cannot open script %s\n", options.script.c_str());
      return false;
    }
  }
  acad::console::useScript(script);
  useTerminal(!script && !options.batch && isatty(STDIN_FILENO));
  return true;
}

// Blocks from a megabyte up are mapped on their own and given back when freed.
// Left to itself the C library raises that bound each time such a block is
// freed, and the growing lists of a large drawing then come from the shared
// heap, which keeps what they outgrew: the 1M-face polygon mesh peaked a
// fifth higher.
void returnLargeBlocksWhenFreed() {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

bool loadModules(const HostOptions& options) {
  bool succeeded = true;
  for (const std::string& path : options.modules) {
    if (support::Status loaded = acad::arx::load(path); !loaded.ok()) {
      acad::console::write("\nUnable to load " + path + ": " + loaded.message() + ".");
      succeeded = false;
    }
  }
  return succeeded;
}

}  // namespace

int main(int argc, char** argv) {
  returnLargeBlocksWhenFreed();
  HostOptions options;
  std::string error;
  if (!parseHostOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "arxhost: %s\n%s", error.c_str(), kHostUsage);
    return 2;
  }
  std::FILE* script = nullptr;
  if (!chooseInput(options, script)) return 2;
  registerArxCommands();
  registerDrawingCommands();
  registerHelpCommand();
  registerListCommand();
  neverAskToSave(options.batch);
  acad::menus::registerMenuCommands();
  bool succeeded = options.drawing.empty() || openDrawing(options.drawing);
  // A script meant for a drawing must not run on an empty one instead.
  if (!succeeded && options.batch) {
    acad::console::write("\n");
    return 1;
  }
  succeeded = loadModules(options) && succeeded;
  succeeded = host_session::run() && succeeded;
  // Without --batch a person takes over once the script is done.
  if (script && !options.batch) {
    acad::console::useScript(nullptr);
    useTerminal(isatty(STDIN_FILENO));
    succeeded = host_session::run() && succeeded;
  }
  // The end of input drops the drawing as QUIT does; Cancel goes on.
  acad::host_commands::ConsoleAnswers answers;
  while (!host_session::quitRequested() && !mayDropDrawing(answers)) succeeded = host_session::run() && succeeded;
  // The shell's prompt starts on a line of its own.
  if (!acad::console::atLineStart()) acad::console::write("\n");
  acad::arx::unloadAll();
  if (script) std::fclose(script);
  bool batchFailure = options.batch &&
                      (!succeeded || acad::console::exhaustedCount() > 0 || ui::scripted::refusedCount() > 0);
  return batchFailure ? 1 : 0;
}
