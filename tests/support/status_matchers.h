// Checks on what a platform call reports, which show the call's message when
// they fail:
//   ASSERT_THAT(dxf::open(path), Succeeds());
//   EXPECT_THAT(dxf::save(path), FailsWith(HasSubstr("read-only")));
#pragma once
#include <gmock/gmock.h>

#include <ostream>

#include "support/status.h"

namespace support {

inline void PrintTo(const Status& status, std::ostream* out) {
  *out << (status.ok() ? std::string("done") : "failed: \"" + status.message() + "\"");
}

}  // namespace support

namespace test_support {

MATCHER(Succeeds, "succeeds") { return arg.ok(); }

MATCHER_P(FailsWith, message, "fails with a message that " + testing::DescribeMatcher<std::string>(message)) {
  return !arg.ok() && testing::ExplainMatchResult(message, arg.message(), result_listener);
}

}  // namespace test_support
