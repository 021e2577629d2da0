#include "acad/user_path.h"

#include <cstdlib>

namespace acad::files {

std::string expandHome(const std::string& typed) {
  const char* home = std::getenv("HOME");
  if (!home || !(typed == "~" || typed.starts_with("~/"))) return typed;
  return home + typed.substr(1);
}

namespace {
std::string g_fileToCreate;
}  // namespace

const std::string& fileToCreate() { return g_fileToCreate; }
void noteFileToCreate(const std::string& path) { g_fileToCreate = path; }

}  // namespace acad::files
