// Commands registered by applications, in named groups.
#include "acad/command_stack.h"

#include <algorithm>
#include <cctype>

#include "acad/apps.h"
#include "acad/host_commands.h"
#include "acad/user_path.h"
#include "db/opening_spares.h"
#include "heap_faults.h"
#include "render/facet_records.h"

ACRX_DEFINE_MEMBERS(AcEdCommandStack, AcRxObject)

namespace acad::commands {
namespace {
std::vector<Registered>& registered() {
  static std::vector<Registered> commands;
  return commands;
}

bool sameName(const std::string& a, const std::string& b) { return folded(a) == folded(b); }

bool holds(const Registered& command, const std::string& name) {
  return sameName(command.globalName, name) || sameName(command.localName, name);
}
}  // namespace

std::string folded(const std::string& name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

const Registered* find(const std::string& typed) {
  std::string name = acad::host_commands::baseName(typed);
  for (const Registered& command : registered())
    if (holds(command, name)) return &command;
  return nullptr;
}

void run(const Registered& command) {
  struct Settle {
    Settle() {
      render::commandStarted();
      db::openingsCommandStarted();
      acad::files::noteFileToCreate("");
    }
    ~Settle() {
      render::settleReadingAhead();
      db::openingsCommandEnded();
      acad::heap::releaseKeptBlocks();
    }
  } settle;
  acad::apps::Scope scope(static_cast<acad::apps::App*>(const_cast<void*>(command.owner)));
  command.handler();
}

std::vector<Registered> all() { return registered(); }

void forgetApplication(const void* owner) {
  std::erase_if(registered(), [&](const Registered& command) { return command.owner == owner; });
}

}  // namespace acad::commands

using acad::commands::Registered;

Acad::ErrorStatus AcEdCommandStack::addCommand(const char* groupName, const char* globalName, const char* localName,
                                               Adesk::Int32 flags, AcRxFunctionPtr handler) {
  if (!groupName || !globalName || !localName || !*groupName || !*globalName || !*localName || !handler)
    return Acad::eInvalidInput;
  for (const Registered& command : acad::commands::registered())
    if (acad::commands::holds(command, globalName) || acad::commands::holds(command, localName))
      return Acad::eInvalidInput;
  acad::commands::registered().push_back(
      Registered{groupName, globalName, localName, static_cast<int>(flags), handler, acad::apps::current()});
  return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const char* groupName, const char* globalName) {
  if (!groupName || !globalName) return Acad::eInvalidInput;
  auto& commands = acad::commands::registered();
  auto found = std::find_if(commands.begin(), commands.end(), [&](const Registered& command) {
    return acad::commands::sameName(command.group, groupName) &&
           acad::commands::sameName(command.globalName, globalName);
  });
  if (found == commands.end()) return Acad::eKeyNotFound;
  commands.erase(found);
  return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const char* groupName) {
  if (!groupName) return Acad::eInvalidInput;
  auto& commands = acad::commands::registered();
  auto removed = std::erase_if(commands, [&](const Registered& command) {
    return acad::commands::sameName(command.group, groupName);
  });
  return removed ? Acad::eOk : Acad::eKeyNotFound;
}
