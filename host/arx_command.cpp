// ARX: "?" lists the loaded modules, Load and Unload take a module, Commands
// lists the command groups modules registered. QUIT ends the session.
#include "arx_command.h"

#include "acad/arx_loader.h"
#include "acad/command_stack.h"
#include "acad/console.h"
#include "acad/host_commands.h"
#include "session.h"

namespace {

using acad_host_commands::Answers;

// True when `answer` is a prefix (any case, at least one letter) of `keyword`.
bool picks(const std::string& answer, const std::string& keyword) {
  std::string typed = acad_commands::folded(acad_host_commands::baseName(answer));
  return !typed.empty() && acad_commands::folded(keyword).starts_with(typed);
}

void listModules() {
  auto modules = acad_arx::loaded();
  if (modules.empty()) acad_console::write("\nNo runtime extensions are loaded.");
  for (const std::string& name : modules) acad_console::write("\n" + name);
}

void listCommands() {
  std::string group;
  for (const acad_commands::Registered& command : acad_commands::all()) {
    if (command.group != group) {
      group = command.group;
      acad_console::write("\n" + group + ":");
    }
    acad_console::write(" " + command.globalName);
  }
  if (group.empty()) acad_console::write("\nNo commands are registered.");
}

bool loadModule(Answers& answers) {
  std::string path;
  if (!answers.next("\nRuntime extension file: ", path)) return false;
  std::string error;
  if (acad_arx::load(path, &error)) return true;
  acad_console::write("\nUnable to load " + path + ": " + error + ".");
  return false;
}

bool unloadModule(Answers& answers) {
  std::string name;
  if (!answers.next("\nUnload Runtime extension: ", name)) return false;
  std::string error;
  if (acad_arx::unload(name, &error)) {
    acad_console::write("\n" + name + " successfully unloaded.");
    return true;
  }
  acad_console::write("\nUnable to unload " + name + ": " + error + ".");
  return false;
}

bool arxCommand(Answers& answers) {
  for (;;) {
    std::string choice;
    if (!answers.next("\n?/Load/Unload/Commands: ", choice)) return false;
    if (choice == "?") {
      listModules();
      return true;
    }
    if (picks(choice, "Load")) return loadModule(answers);
    if (picks(choice, "Unload")) return unloadModule(answers);
    if (picks(choice, "Commands")) {
      listCommands();
      return true;
    }
    acad_console::write("\nInvalid option keyword.");
  }
}

}  // namespace

void registerArxCommands() {
  acad_host_commands::add("ARX", arxCommand);
  acad_host_commands::add("QUIT", [](Answers&) {
    host_session::requestQuit();
    acad_console::write("\n");
    return true;
  });
}
