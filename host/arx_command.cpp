// ARX: "?" lists the loaded modules, Load and Unload take a module, Commands
// lists the command groups modules registered. ARXINVOKE sends a module one
// function code. QUIT ends the session.
#include "arx_command.h"

#include <charconv>

#include "adslib.h"
#include "drawing_commands.h"
#include "platform.h"
#include "session.h"

namespace {

using acad::host_commands::Answers;
using acad::host_commands::picks;

void listModules() {
  auto modules = acad::arx::loaded();
  if (modules.empty()) acad::console::write("\nNo runtime extensions are loaded.");
  for (const std::string& name : modules) acad::console::write("\n" + name);
}

void listCommands() {
  acad::console::write("\nHost:");
  for (const acad::host_commands::Listed& command : acad::host_commands::listed())
    if (!command.summary.empty()) acad::console::write(" " + command.name);
  std::string group;
  for (const acad::commands::Registered& command : acad::commands::all()) {
    if (command.group != group) {
      group = command.group;
      acad::console::write("\n" + group + ":");
    }
    acad::console::write(" " + command.globalName);
  }
  if (group.empty()) acad::console::write("\nNo module commands are registered.");
}

bool loadModule(Answers& answers) {
  std::string path;
  if (!answers.next("\nRuntime extension file: ", path)) return false;
  support::Status loaded = acad::arx::load(path);
  if (loaded.ok()) return true;
  acad::console::write("\nUnable to load " + path + ": " + loaded.message() + ".");
  return false;
}

bool unloadModule(Answers& answers) {
  std::string name;
  if (!answers.next("\nUnload Runtime extension: ", name)) return false;
  support::Status unloaded = acad::arx::unload(name);
  if (unloaded.ok()) {
    acad::console::write("\n" + name + " successfully unloaded.");
    return true;
  }
  acad::console::write("\nUnable to unload " + name + ": " + unloaded.message() + ".");
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
    acad::console::write("\nInvalid option keyword.");
  }
}

// Sends one function code to a module's entry point, defined or not, and
// shows how the module answered: the host's probe of a module's dispatch.
bool invokeCommand(Answers& answers) {
  std::string name, codeText;
  if (!answers.next("\nApplication: ", name) || !answers.next("\nFunction code: ", codeText)) return false;
  int code = 0;
  auto [end, problem] = std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
  if (problem != std::errc() || end != codeText.data() + codeText.size()) {
    acad::console::write("\nRequires an integer value.");
    return false;
  }
  void* app = acad::arx::application(name);
  if (!app) {
    acad::console::write("\n" + name + " is not loaded.");
    return false;
  }
  resbuf* result = nullptr;
  std::string failure;
  bool succeeded = acad::lisp_functions::invoke(app, code, nullptr, &result, &failure);
  ads_relrb(result);
  acad::console::write(succeeded ? std::string("\nFunction code ") + codeText + " succeeded."
                                 : "\n; error: " + failure);
  return succeeded;
}

}  // namespace

void registerArxCommands() {
  acad::host_commands::add("ARXINVOKE", invokeCommand, "sends a function code to a loaded module");
  acad::host_commands::add("ARX", arxCommand, "lists, loads and unloads modules (?/Load/Unload/Commands)");
  acad::host_commands::add(
      "QUIT",
      [](Answers& answers) {
        if (!mayDropDrawing(answers)) return true;  // Cancel keeps the session
        host_session::requestQuit();
        acad::console::write("\n");
        return true;
      },
      "ends the session, asking to save changes first");
}
