#include "support/corpus.h"

#include <algorithm>
#include <cstdlib>

namespace test_support {

std::string corpusDir() {
  const char* chosen = std::getenv("VRML_CORPUS_DIR");
  return chosen && *chosen ? chosen : VRML_CORPUS_DIR;
}

std::string corpusFile(const std::string& name) { return corpusDir() + "/" + name; }

std::vector<std::filesystem::path> corpusDrawings() {
  std::vector<std::filesystem::path> files;
  std::error_code absent;
  for (const auto& entry : std::filesystem::directory_iterator(corpusDir(), absent))
    if (entry.path().extension() == ".dxf") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string corpusAbsence() {
  if (!corpusDrawings().empty()) return "";
  return "no corpus of drawings at " + corpusDir() +
         " (../shared/corpus/dxf beside the repository): its tests are skipped"
         " (VRML_REQUIRE_CORPUS=1 fails them instead)";
}

bool corpusRequired() {
  const char* required = std::getenv("VRML_REQUIRE_CORPUS");
  return required && std::string(required) == "1";
}

}  // namespace test_support
