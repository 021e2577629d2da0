// The host's system variables, as ads_getvar and ads_setvar see them.
#pragma once
#include <string>

namespace acad::sysvars {

// True when CMDECHO is on: commands run by applications echo their prompts.
bool commandEcho();

// Sets a string variable the host maintains itself (e.g. DWGNAME), whether or
// not applications may write it.
void setHostString(const std::string& name, const std::string& value);

}  // namespace acad::sysvars
