// The menu groups the host has loaded and the state of their toolbars. They
// belong to the host: they stay when the module that loaded them goes.
#pragma once
#include <string>
#include <vector>

#include "acad/menu_file.h"

namespace acad::menus {

struct ToolbarState {
  bool shown = false;
  bool floating = false;
  std::string dock;  // "Left", "Right", "Top" or "Bottom" when docked
  int x = 0;
  int y = 0;
  int rows = 1;
};

// Loads the menu file at `path` (".mnu" added when the path has no
// extension). Refused, saying why, when the file cannot be read or its group
// is loaded already.
support::Status loadGroup(const std::string& path);
// False when no group of that name is loaded.
bool unloadGroup(const std::string& group);
bool isGroupLoaded(const std::string& group);
std::vector<std::string> loadedGroups();

// A toolbar by its full name "group.NAME" (or "NAME" alone, searched in every
// group); null when no loaded group has it.
const Toolbar* findToolbar(const std::string& fullName);
// The state of a toolbar of a loaded group; null as above. The state is the
// host's and changes only through the TOOLBAR command (or this pointer).
ToolbarState* toolbarState(const std::string& fullName);
// The label of the first toolbar button that runs `command` (any case) in a
// loaded group, e.g. "Export to VRML"; "" when none does.
std::string buttonLabel(const std::string& command);

// Shows or hides every toolbar of every loaded group.
void showAllToolbars(bool shown);

// Forgets every group (a new host session, or tests).
void unloadAll();

// The host commands MENULOAD, MENUUNLOAD and TOOLBAR.
void registerMenuCommands();

}  // namespace acad::menus
