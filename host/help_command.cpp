#include "help_command.h"

#include <algorithm>

#include "platform.h"

namespace {

constexpr size_t kNameColumn = 12;

void line(const std::string& name, const std::string& text) {
  std::string padded = name;
  padded.resize(std::max(kNameColumn, name.size() + 1), ' ');
  acad_console::write("\n  " + padded + text);
}

bool helpCommand(acad_host_commands::Answers&) {
  acad_console::write("\nHost commands:");
  for (const acad_host_commands::Listed& command : acad_host_commands::listed())
    if (!command.summary.empty()) line(command.name, command.summary);
  acad_console::write("\n  (...)       an AutoLISP expression, e.g. (vrml_geturl (entlast))");
  std::string group;
  for (const acad_commands::Registered& command : acad_commands::all()) {
    if (command.group != group) {
      group = command.group;
      acad_console::write("\nCommands of " + group + ":");
    }
    line(command.globalName, acad_menus::buttonLabel(command.globalName));
  }
  if (group.empty()) acad_console::write("\nNo module is loaded: ARX Load adds one.");
  acad_console::write("\nEsc or Ctrl+C cancels a prompt or dialog; Ctrl+D at \"Command:\" ends the session.");
  return true;
}

}  // namespace

void registerHelpCommand() {
  acad_host_commands::add("HELP", helpCommand, "lists the commands (also ? and F1)");
  acad_host_commands::add("?", helpCommand);
}
