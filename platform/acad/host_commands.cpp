// Host commands by name, and ads_command, through which applications run them.
#include "acad/host_commands.h"

#include <cstdarg>
#include <cstdio>
#include <map>

#include "acad/command_stack.h"
#include "acad/console.h"
#include "acad/sysvars.h"
#include "adslib.h"

namespace acad::host_commands {
namespace {
struct Entry {
  Command command;
  std::string name;
  std::string summary;
};

std::map<std::string, Entry>& commands() {
  static std::map<std::string, Entry> byName;
  return byName;
}

// Answers from the items of an ads_command call. With CMDECHO on, the prompts
// and answers appear in the transcript as if typed.
class ListAnswers : public Answers {
 public:
  explicit ListAnswers(std::vector<std::string> items) : m_items(std::move(items)) {}
  bool next(const std::string& prompt, std::string& answer) override {
    if (m_next >= m_items.size()) return false;
    answer = m_items[m_next++];
    if (acad::sysvars::commandEcho()) acad::console::write(prompt + answer);
    return true;
  }

 private:
  std::vector<std::string> m_items;
  size_t m_next = 0;
};

// The text the command line would have received for one item.
bool itemText(int type, va_list& args, std::string& text) {
  char buffer[96];
  switch (type) {
    case RTSTR: {
      const char* value = va_arg(args, const char*);
      text = value ? value : "";
      return true;
    }
    case RTSHORT: text = std::to_string(va_arg(args, int)); return true;
    case RTLONG: text = std::to_string(va_arg(args, long)); return true;
    case RTREAL:
    case RTANG:
      std::snprintf(buffer, sizeof buffer, "%.16g", va_arg(args, double));
      text = buffer;
      return true;
    case RTPOINT:
    case RT3DPOINT: {
      const double* point = va_arg(args, const double*);
      if (!point) return false;
      if (type == RTPOINT) std::snprintf(buffer, sizeof buffer, "%.16g,%.16g", point[0], point[1]);
      else std::snprintf(buffer, sizeof buffer, "%.16g,%.16g,%.16g", point[0], point[1], point[2]);
      text = buffer;
      return true;
    }
    default: return false;
  }
}
}  // namespace

void add(const std::string& name, Command command, const std::string& summary) {
  commands()[acad::commands::folded(baseName(name))] = {std::move(command), baseName(name), summary};
}

std::vector<Listed> listed() {
  std::vector<Listed> all;
  for (const auto& [folded, entry] : commands()) all.push_back({entry.name, entry.summary});
  return all;
}

std::string baseName(const std::string& typed) {
  size_t start = 0;
  while (start < typed.size() && (typed[start] == '_' || typed[start] == '.')) ++start;
  return typed.substr(start);
}

bool picks(const std::string& answer, const std::string& keyword) {
  std::string typed = acad::commands::folded(baseName(answer));
  return !typed.empty() && acad::commands::folded(keyword).starts_with(typed);
}

bool exists(const std::string& typed) { return commands().count(acad::commands::folded(baseName(typed))) != 0; }

bool run(const std::string& typed, Answers& answers) {
  auto found = commands().find(acad::commands::folded(baseName(typed)));
  if (found == commands().end()) return false;
  Command command = found->second.command;  // a command may register others while it runs
  return command(answers);
}

bool ConsoleAnswers::next(const std::string& prompt, std::string& answer) {
  return acad::console::readLine(prompt, answer);
}

}  // namespace acad::host_commands

// Runs one host command, or a command an application registered, with the
// items as its answers. The list ends at a type of 0 (or RTNONE).
extern "C" int ads_command(int type, ...) {
  va_list args;
  va_start(args, type);
  std::vector<std::string> items;
  bool understood = true;
  for (; type != 0 && type != RTNONE; type = va_arg(args, int)) {
    std::string text;
    if (!acad::host_commands::itemText(type, args, text)) {
      understood = false;
      break;
    }
    items.push_back(text);
  }
  va_end(args);
  if (!understood || items.empty()) return RTERROR;
  std::string name = items.front();
  items.erase(items.begin());
  if (acad::sysvars::commandEcho()) acad::console::write("\nCommand: " + name);
  if (acad::host_commands::exists(name)) {
    acad::host_commands::ListAnswers answers(std::move(items));
    return acad::host_commands::run(name, answers) ? RTNORM : RTERROR;
  }
  if (const acad::commands::Registered* command = acad::commands::find(name)) {
    acad::commands::run(acad::commands::Registered(*command));
    return RTNORM;
  }
  acad::console::write("\nUnknown command \"" + acad::host_commands::baseName(name) + "\".  Press F1 for help.");
  return RTERROR;
}
