// The host's side of the command stack: finding and running the commands that
// applications registered.
#pragma once
#include <string>
#include <vector>

#include "aced.h"

namespace acad::commands {

struct Registered {
  std::string group;
  std::string globalName;
  std::string localName;
  int flags = 0;
  AcRxFunctionPtr handler = nullptr;
  const void* owner = nullptr;  // the application that registered it
};

// The command whose global or local name is `typed` (any case, with the "_"
// and "." prefixes accepted), or null.
const Registered* find(const std::string& typed);

// Runs a registered command inside its application's scope.
void run(const Registered& command);

// All registered commands, group by group in registration order.
std::vector<Registered> all();

// Withdraws whatever an application left registered when it goes.
void forgetApplication(const void* owner);

// Lower-cased copy, for names compared without regard to case.
std::string folded(const std::string& name);

}  // namespace acad::commands
