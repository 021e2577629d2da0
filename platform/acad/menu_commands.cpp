// The host commands that load and unload menu groups and show toolbars.
// Prompts go through Answers, so a person, a script and ads_command drive
// them alike; with CMDECHO off, success is silent and only faults show.
#include <cstdio>

#include "acad/command_stack.h"
#include "acad/console.h"
#include "acad/host_commands.h"
#include "acad/menus.h"
#include "acad/sysvars.h"

namespace acad::menus {
namespace {

using acad::host_commands::Answers;

void report(const std::string& text) {
  if (acad::sysvars::commandEcho()) acad::console::write(text);
}

bool menuLoad(Answers& answers) {
  std::string path;
  if (!answers.next("\nMenu file name: ", path)) return false;
  support::Status loaded = loadGroup(path);
  if (!loaded.ok()) {
    acad::console::write("\n" + loaded.message());
    return false;
  }
  report("\nMenu group \"" + loadedGroups().back() + "\" loaded.");
  return true;
}

bool menuUnload(Answers& answers) {
  std::string group;
  if (!answers.next("\nMenu group to unload: ", group)) return false;
  // Unloading a group that is not there leaves things as asked; it is worth
  // a word only when the command echoes.
  if (!unloadGroup(group)) {
    report("\nMenu group \"" + group + "\" is not loaded.");
    return false;
  }
  report("\nMenu group \"" + group + "\" unloaded.");
  return true;
}

// The keyword of `options` that the answer names: in full or by its first
// letter, any case, with or without the leading "_" of the English name.
// Empty answer gives `fallback`; no match gives "".
std::string keyword(std::string answer, const std::vector<std::string>& options, const std::string& fallback) {
  if (!answer.empty() && answer[0] == '_') answer.erase(0, 1);
  if (answer.empty()) return fallback;
  std::string typed = acad::commands::folded(answer);
  for (const std::string& option : options) {
    std::string full = acad::commands::folded(option);
    if (typed == full || (typed.size() == 1 && typed[0] == full[0])) return option;
  }
  return "";
}

// Asks again until the answer is one of the options; false when answers run out.
bool askKeyword(Answers& answers, const std::string& prompt, const std::vector<std::string>& options,
                const std::string& fallback, std::string& chosen) {
  std::string answer;
  while (answers.next(prompt, answer)) {
    chosen = keyword(answer, options, fallback);
    if (!chosen.empty()) return true;
    acad::console::write("\nInvalid option keyword.");
  }
  return false;
}

bool askPosition(Answers& answers, int& x, int& y) {
  std::string answer;
  while (answers.next("\nPosition <0,0>: ", answer)) {
    int used = 0;
    if (answer.empty()) {
      x = y = 0;
      return true;
    }
    if (std::sscanf(answer.c_str(), "%d,%d%n", &x, &y, &used) == 2 && used == static_cast<int>(answer.size()))
      return true;
    acad::console::write("\nInvalid point.");
  }
  return false;
}

bool askRows(Answers& answers, int& rows) {
  std::string answer;
  while (answers.next("\nRows <1>: ", answer)) {
    int used = 0;
    if (answer.empty()) {
      rows = 1;
      return true;
    }
    if (std::sscanf(answer.c_str(), "%d%n", &rows, &used) == 1 && used == static_cast<int>(answer.size()) && rows > 0)
      return true;
    acad::console::write("\nRequires a positive whole number.");
  }
  return false;
}

bool toolbar(Answers& answers) {
  std::string name;
  if (!answers.next("\nToolbar name (or ALL): ", name)) return false;
  if (acad::commands::folded(name) == acad::commands::folded("ALL")) {
    std::string choice;
    if (!askKeyword(answers, "\nShow/Hide: ", {"Show", "Hide"}, "Show", choice)) return false;
    showAllToolbars(choice == "Show");
    return true;
  }
  ToolbarState* state = toolbarState(name);
  if (!state) {
    acad::console::write("\nToolbar \"" + name + "\" not found.");
    return false;
  }
  std::string choice;
  if (!askKeyword(answers, "\nShow/Hide/Left/Right/Top/Bottom/Float <Show>: ",
                  {"Show", "Hide", "Left", "Right", "Top", "Bottom", "Float"}, "Show", choice))
    return false;
  ToolbarState next = *state;
  if (choice == "Hide") {
    next.shown = false;
  } else if (choice == "Show") {
    next.shown = true;
  } else {
    if (!askPosition(answers, next.x, next.y)) return false;
    if (choice == "Float" && !askRows(answers, next.rows)) return false;
    next.shown = true;
    next.floating = choice == "Float";
    next.dock = next.floating ? "" : choice;
  }
  *state = next;
  return true;
}

}  // namespace

void registerMenuCommands() {
  acad::host_commands::add("MENULOAD", menuLoad, "loads a menu file and its toolbars");
  acad::host_commands::add("MENUUNLOAD", menuUnload, "unloads a menu group");
  acad::host_commands::add("TOOLBAR", toolbar, "shows, hides, docks or floats a toolbar");
}

}  // namespace acad::menus
