// What the tests of vrmlout --html share: running the export, and the rule
// for a machine without the web viewer or the browser (CI fails, a
// developer's machine skips with the reason).
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/run_host.h"

namespace web_page_test {

using test_support::binPath;
using test_support::ProcessResult;
using test_support::runCommand;

inline ProcessResult vrmlout(const std::string& arguments) {
  return runCommand("'" + binPath("vrmlout") + "' " + arguments + " 2>&1");
}

// Exports `drawing` to `world` with its page `page`.
inline ProcessResult exportPage(const std::string& drawing, const std::string& world, const std::string& page) {
  return vrmlout("'" + drawing + "' '" + world + "' --html '" + page + "'");
}

// The reason a run cannot show what a page does, or "".
inline std::string viewerMissing(const ProcessResult& run) {
  return run.output.find("without the web viewer") == std::string::npos
             ? ""
             : "vrmlout was built without the web viewer: run tools/install-deps.sh, then cmake again";
}

}  // namespace web_page_test

// Stops the test on a machine that lacks what it needs: a failure in CI,
// where tools/test.sh installs everything, a skip elsewhere.
#define WEB_PAGE_TEST_NEEDS(reason)              \
  do {                                           \
    std::string missing_ = (reason);             \
    if (!missing_.empty()) {                     \
      if (std::getenv("CI")) FAIL() << missing_; \
      GTEST_SKIP() << missing_;                  \
    }                                            \
  } while (0)
