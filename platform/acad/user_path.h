// A file name as a person types it at the command line.
#pragma once
#include <string>

namespace acad_files {

// "~" and "~/..." stand for the home folder ($HOME), as in the shell.
std::string expandHome(const std::string& typed);

}  // namespace acad_files
