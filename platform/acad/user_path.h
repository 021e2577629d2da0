// A file name as a person types it at the command line.
#pragma once
#include <string>

namespace acad::files {

// "~" and "~/..." stand for the home folder ($HOME), as in the shell.
std::string expandHome(const std::string& typed);

// The file a person named at a file prompt for a file to create, since the
// current command started ("" when none): the outcome of an export names it.
const std::string& fileToCreate();
void noteFileToCreate(const std::string& path);

}  // namespace acad::files
