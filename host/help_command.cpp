#include "help_command.h"

#include <algorithm>

#include "platform.h"

namespace {

constexpr size_t kNameColumn = 12;

void line(const std::string& name, const std::string& text) {
  std::string padded = name;
  padded.resize(std::max(kNameColumn, name.size() + 1), ' ');
  acad::console::write("\n  " + padded + text);
}

bool helpCommand(acad::host_commands::Answers&) {
  acad::console::write("\nHost commands:");
  for (const acad::host_commands::Listed& command : acad::host_commands::listed())
    if (!command.summary.empty()) line(command.name, command.summary);
  acad::console::write("\n  (...)       an AutoLISP expression, e.g. (vrml_geturl (entlast))");
  std::string group;
  for (const acad::commands::Registered& command : acad::commands::all()) {
    if (command.group != group) {
      group = command.group;
      acad::console::write("\nCommands of " + group + ":");
    }
    line(command.globalName, acad::menus::buttonLabel(command.globalName));
  }
  if (group.empty()) acad::console::write("\nNo module is loaded: ARX Load adds one.");
  acad::console::write("\nEsc or Ctrl+C cancels a prompt or dialog; Ctrl+D at \"Command:\" ends the session.");
  return true;
}

}  // namespace

void registerHelpCommand() {
  acad::host_commands::add("HELP", helpCommand, "lists the commands (also ? and F1)");
  acad::host_commands::add("?", helpCommand);
}
