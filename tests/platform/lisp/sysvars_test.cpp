#include <gtest/gtest.h>

#include "lisp_test_support.h"

TEST(LispSysvars, GetvarAndSetvarReachTheHostsVariables) {
  EXPECT_EQ(lispOutput("(setvar \"CMDECHO\" 0)"), "0");
  EXPECT_EQ(lispOutput("(getvar \"cmdecho\")"), "0");
  EXPECT_EQ(lispOutput("(setvar \"cmdecho\" 1)"), "1");
  EXPECT_EQ(lispOutput("(getvar \"CMDECHO\")"), "1");
  EXPECT_EQ(lispOutput("(getvar \"NO_SUCH_VARIABLE\")"), "nil");
  EXPECT_EQ(lispOutput("(setvar \"CMDECHO\" \"on\")"), "; error: AutoCAD rejected function: (setvar \"CMDECHO\")");
  EXPECT_EQ(lispOutput("(setvar \"CMDECHO\" '(1))"), "; error: bad argument type: atom (1)");
  EXPECT_EQ(lispOutput("(getvar \"CMDECHO\")"), "1");
}
