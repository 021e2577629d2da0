// Loaded menu groups and their toolbars; acedIsMenuGroupLoaded.
#include "acad/menus.h"

#include <filesystem>
#include <memory>

#include "acad/command_stack.h"
#include "aced.h"

namespace acad::menus {
namespace {

struct LoadedToolbar {
  Toolbar toolbar;
  ToolbarState state;
};

struct LoadedGroup {
  MenuFile menu;
  std::vector<LoadedToolbar> toolbars;
};

std::vector<LoadedGroup>& groups() {
  static std::vector<LoadedGroup> loaded;
  return loaded;
}

LoadedGroup* findGroup(const std::string& name) {
  for (LoadedGroup& group : groups())
    if (acad::commands::folded(group.menu.group) == acad::commands::folded(name)) return &group;
  return nullptr;
}

LoadedToolbar* findLoadedToolbar(const std::string& fullName) {
  size_t dot = fullName.find('.');
  std::string groupName = dot == std::string::npos ? "" : fullName.substr(0, dot);
  std::string name = acad::commands::folded(dot == std::string::npos ? fullName : fullName.substr(dot + 1));
  for (LoadedGroup& group : groups()) {
    if (!groupName.empty() && acad::commands::folded(group.menu.group) != acad::commands::folded(groupName)) continue;
    for (LoadedToolbar& toolbar : group.toolbars)
      if (acad::commands::folded(toolbar.toolbar.name) == name) return &toolbar;
  }
  return nullptr;
}

}  // namespace

support::Status loadGroup(const std::string& path) {
  std::string file = std::filesystem::path(path).has_extension() ? path : path + ".mnu";
  support::Result<MenuFile> read = readMenuFile(file);
  if (!read.ok()) return read.status();
  const MenuFile& menu = read.value();
  if (findGroup(menu.group)) return support::Status::failure("Menu group \"" + menu.group + "\" is already loaded.");
  LoadedGroup group{menu, {}};
  for (const Toolbar& toolbar : menu.toolbars) group.toolbars.push_back(LoadedToolbar{toolbar, {}});
  groups().push_back(std::move(group));
  return {};
}

bool unloadGroup(const std::string& group) {
  LoadedGroup* found = findGroup(group);
  if (!found) return false;
  groups().erase(groups().begin() + (found - groups().data()));
  return true;
}

bool isGroupLoaded(const std::string& group) { return findGroup(group) != nullptr; }

std::vector<std::string> loadedGroups() {
  std::vector<std::string> names;
  for (const LoadedGroup& group : groups()) names.push_back(group.menu.group);
  return names;
}

std::string buttonLabel(const std::string& command) {
  for (const LoadedGroup& group : groups())
    for (const Toolbar& toolbar : group.menu.toolbars)
      for (const MenuEntry& button : toolbar.buttons)
        if (acad::commands::folded(button.command) == acad::commands::folded(command)) return button.label;
  return "";
}

const Toolbar* findToolbar(const std::string& fullName) {
  LoadedToolbar* found = findLoadedToolbar(fullName);
  return found ? &found->toolbar : nullptr;
}

ToolbarState* toolbarState(const std::string& fullName) {
  LoadedToolbar* found = findLoadedToolbar(fullName);
  return found ? &found->state : nullptr;
}

void showAllToolbars(bool shown) {
  for (LoadedGroup& group : groups())
    for (LoadedToolbar& toolbar : group.toolbars) toolbar.state.shown = shown;
}

void unloadAll() { groups().clear(); }

}  // namespace acad::menus

int acedIsMenuGroupLoaded(const char* groupName) { return groupName && acad::menus::isGroupLoaded(groupName) ? 1 : 0; }
