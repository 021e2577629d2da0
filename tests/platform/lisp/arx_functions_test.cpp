#include <gmock/gmock.h>

#include "lisp_test_support.h"

TEST(LispArx, RefusedLoadsReportOrGiveTheFallback) {
  bool ok = true;
  std::string out = lispOutput("(arxload \"/no/such/module.arx\")", &ok);
  EXPECT_FALSE(ok);
  EXPECT_THAT(out, testing::StartsWith("; error: ARXLOAD failed"));
  EXPECT_EQ(lispOutput("(arxload \"/no/such/module.arx\" \"not loaded\")"), "\"not loaded\"");
  out = lispOutput("(arxunload \"never_loaded\")", &ok);
  EXPECT_FALSE(ok);
  EXPECT_THAT(out, testing::StartsWith("; error: ARXUNLOAD failed"));
  EXPECT_EQ(lispOutput("(arxunload \"never_loaded\" nil)"), "nil");
  EXPECT_EQ(lispOutput("(arxload 12)"), "; error: bad argument type: stringp 12");
  EXPECT_EQ(lispOutput("(arxload)"), "; error: too few arguments");
}
