// Parsing menu files.
#include "acad/menu_file.h"

#include <fstream>
#include <sstream>

namespace acad::menus {
namespace {

// `"text" rest` -> text and rest; false when the quotes are missing.
bool quotedThenRest(std::istringstream& line, std::string& text, std::string& rest) {
  line >> std::ws;
  if (line.peek() != '"') return false;
  line.get();
  if (!std::getline(line, text, '"') || line.eof()) return false;  // eof: no closing quote
  std::getline(line >> std::ws, rest);
  while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.pop_back();
  return true;
}

}  // namespace

support::Result<MenuFile> readMenuFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return support::Status::failure("cannot open menu file \"" + path + "\"");
  MenuFile menu;
  menu.path = path;
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    std::istringstream line(text);
    std::string keyword;
    if (!(line >> keyword) || keyword[0] == ';') continue;
    auto fault = [&](const std::string& what) {
      return support::Status::failure(path + ":" + std::to_string(number) + ": " + what);
    };
    std::string name;
    std::string caption;
    std::string rest;
    if (keyword == "group") {
      if (!(line >> menu.group)) return fault("group needs a name");
    } else if (keyword == "toolbar") {
      if (!(line >> name) || !quotedThenRest(line, caption, rest) || !rest.empty())
        return fault("expected: toolbar NAME \"caption\"");
      menu.toolbars.push_back(Toolbar{name, caption, {}});
    } else if (keyword == "pulldown") {
      if (!quotedThenRest(line, caption, rest) || !rest.empty()) return fault("expected: pulldown \"caption\"");
      menu.pulldowns.push_back(Pulldown{caption, {}});
    } else if (keyword == "button" || keyword == "item") {
      bool button = keyword == "button";
      if (!quotedThenRest(line, caption, rest) || rest.empty() || rest.find(' ') != std::string::npos)
        return fault("expected: " + keyword + " \"label\" COMMAND");
      if (button ? menu.toolbars.empty() : menu.pulldowns.empty())
        return fault(keyword + (button ? " outside a toolbar" : " outside a pulldown"));
      auto& entries = button ? menu.toolbars.back().buttons : menu.pulldowns.back().items;
      entries.push_back(MenuEntry{caption, rest});
    } else {
      return fault("unknown keyword \"" + keyword + "\"");
    }
  }
  if (menu.group.empty()) return support::Status::failure(path + ": no menu group named");
  return menu;
}

}  // namespace acad::menus
