// Menu files: a menu group with its toolbars and pull-down menus, in a small
// line-based text format:
//
//   ; comment
//   group vrml
//   toolbar TB_WRL "Meshcast"
//   button "Export to VRML" VRMLOUT
//   pulldown "&Meshcast"
//   item "&Export..." VRMLOUT
//
// Buttons belong to the toolbar above them, items to the pull-down above
// them; a button's or item's last word is the command it runs.
#pragma once
#include <string>
#include <vector>

#include "support/status.h"

namespace acad::menus {

struct MenuEntry {
  std::string label;
  std::string command;
};

struct Toolbar {
  std::string name;  // e.g. "TB_WRL"
  std::string caption;
  std::vector<MenuEntry> buttons;
};

struct Pulldown {
  std::string caption;
  std::vector<MenuEntry> items;
};

struct MenuFile {
  std::string group;
  std::string path;  // the file it was read from
  std::vector<Toolbar> toolbars;
  std::vector<Pulldown> pulldowns;
};

// Reads a menu file; a failure names the file (and the line) when it cannot
// be read or is malformed.
support::Result<MenuFile> readMenuFile(const std::string& path);

}  // namespace acad::menus
