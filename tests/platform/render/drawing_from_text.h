// A test that opens drawings it writes as text into a scratch file, which
// stays for the test: streamed vertices are read back from it.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "drawing_file.h"
#include "support/files.h"
#include "support/scratch_dir.h"
#include "support/status_matchers.h"

namespace facet_test {

class DrawingFromText : public ::testing::Test {
 public:
  void open(const std::string& text) {
    path = scratch.file("drawing.dxf");
    test_support::writeFile(path, text);
    ASSERT_THAT(dxf::open(path), test_support::Succeeds());
  }
  test_support::ScratchDir scratch;
  std::string path;
};

}  // namespace facet_test
