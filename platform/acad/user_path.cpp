#include "acad/user_path.h"

#include <cstdlib>

namespace acad_files {

std::string expandHome(const std::string& typed) {
  const char* home = std::getenv("HOME");
  if (!home || !(typed == "~" || typed.starts_with("~/"))) return typed;
  return home + typed.substr(1);
}

}  // namespace acad_files
