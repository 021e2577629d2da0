// The corpus of drawings written by other programs, kept beside the
// repository (../shared/corpus/dxf) and never copied in. A clone without it
// skips the tests that read it; VRML_REQUIRE_CORPUS=1 in the environment (as
// tools/test.sh sets) makes its absence a failure instead.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

// The folder: VRML_CORPUS_DIR from the environment when set, else the one
// the build was configured with.
std::string corpusDir();

std::string corpusFile(const std::string& name);

// Every drawing of the corpus, in name order; none when it is absent.
std::vector<std::filesystem::path> corpusDrawings();

// Why the corpus tests cannot run here, or "" when they can.
std::string corpusAbsence();

bool corpusRequired();

}  // namespace test_support

// Ends the test at once when the corpus is absent: skipped, or failed where
// it is required.
#define SKIP_WITHOUT_CORPUS()                                                      \
  do {                                                                             \
    if (std::string absence = ::test_support::corpusAbsence(); !absence.empty()) { \
      if (::test_support::corpusRequired()) GTEST_FAIL() << absence;               \
      GTEST_SKIP() << absence;                                                     \
    }                                                                              \
  } while (false)
