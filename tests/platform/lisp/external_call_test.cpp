#include <gtest/gtest.h>

#include <string>

#include "acadmem.h"
#include "adslib.h"
#include "heap_faults.h"
#include "lisp_test_support.h"

namespace {

// What the last call of the test function received, as type codes and texts.
std::string g_received;

std::string describe(const resbuf* rb) {
  std::string out;
  for (; rb; rb = rb->rbnext) {
    out += std::to_string(rb->restype);
    switch (ads_reskind(rb->restype)) {
      case ResKind::Short: out += "=" + std::to_string(rb->resval.rint); break;
      case ResKind::Long: out += "=" + std::to_string(rb->resval.rlong); break;
      case ResKind::Real: out += "=" + std::to_string(rb->resval.rreal); break;
      case ResKind::String: out += "=" + std::string(rb->resval.rstring); break;
      case ResKind::Name: out += "=" + std::to_string(rb->resval.rlname[0]); break;
      default: break;
    }
    out += " ";
  }
  return out;
}

// Echoes its arguments back as a list, and records what it received.
int echoHandler() {
  const resbuf* args = ads_getargs();
  g_received = describe(args);
  ads_retnil();
  if (args) ads_retlist(args);
  return RSRSLT;
}

int materialHandler() {
  resbuf* list = ads_buildlist(RTSHORT, 1, RTREAL, 0.2, RTREAL, 0.0, 0);
  ads_retlist(list);
  ads_relrb(list);
  return RSRSLT;
}

int failingHandler() {
  ads_retnil();
  ads_fail("Received nonexistent function code.");
  return RTERROR;
}

int refusingHandler() {
  ads_retnil();
  ads_printf("\nUsage: refuse entity\n");
  return RSERR;
}

int silentHandler() { return RSRSLT; }

int voidHandler() {
  ads_retvoid();
  return RSRSLT;
}

class LispExternal : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    define("test_echo", 0, echoHandler);
    define("Test_Material", 1, materialHandler);
    define("test_fail", 2, failingHandler);
    define("test_refuse", 3, refusingHandler);
    define("test_silent", 4, silentHandler);
    define("test_void", 5, voidHandler);
  }
  static void TearDownTestSuite() {
    const char* names[] = {"test_echo", "Test_Material", "test_fail", "test_refuse", "test_silent", "test_void"};
    for (short code = 0; code < 6; ++code) ads_undef(names[code], code);
  }
  static void define(const char* name, short code, int (*handler)()) {
    ASSERT_EQ(ads_defun(name, code), RTNORM);
    ASSERT_EQ(ads_regfunc(handler, code), RTNORM);
  }
};

TEST_F(LispExternal, ArgumentsArriveAsResultBuffers) {
  EXPECT_EQ(lispOutput("(TEST_ECHO 7 70000 2.5 \"s\" nil T)"), "(7 70000 2.5 \"s\" nil T)");
  EXPECT_EQ(g_received, "5003=7 5010=70000 5001=2.500000 5005=s 5019 5021 ");
  EXPECT_EQ(lispOutput("(test_echo '(1 (2 . 3)) 4)"), "((1 (2 . 3)) 4)");
  EXPECT_EQ(g_received, "5016 5003=1 5016 5003=2 5018 5003=3 5017 5017 5003=4 ");
}

TEST_F(LispExternal, ResultsComeBackAsValues) {
  EXPECT_EQ(lispOutput("(test_material)"), "(1 0.2 0.0)");
  EXPECT_EQ(lispOutput("(setq m (test_material))"), "(1 0.2 0.0)");
  EXPECT_EQ(lispOutput("(car (cdr m))"), "0.2");
  EXPECT_EQ(lispOutput("(test_silent)"), "nil");
  EXPECT_EQ(lispOutput("(test_void)"), "");
  EXPECT_EQ(lispOutput("(test_echo)"), "nil");
}

TEST_F(LispExternal, FailuresBecomeErrors) {
  bool ok = true;
  EXPECT_EQ(lispOutput("(test_fail)", &ok), "; error: Received nonexistent function code.");
  EXPECT_FALSE(ok);
  EXPECT_EQ(lispOutput("(test_refuse)"), "\nUsage: refuse entity\n; error: ADS request error");
  EXPECT_EQ(lispOutput("(test_echo 'sym)"), "; error: bad argument type: atom SYM");
  EXPECT_EQ(lispOutput("(test_echo car)"), "; error: bad argument type: atom <Subr: CAR>");
}

TEST_F(LispExternal, CallsLeaveNoBlocksBehind) {
  lispOutput("(test_material)");
  size_t before = acad::heap::stats().liveBlocks;
  lispOutput("(test_echo \"text\" '(1 \"two\" (3)) (test_material))");
  lispOutput("(test_fail)");
  lispOutput("(test_echo 'sym \"text\")");
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

TEST_F(LispExternal, UndefinedAfterWithdrawal) {
  ASSERT_EQ(ads_defun("test_gone", 9), RTNORM);
  ASSERT_EQ(ads_regfunc(silentHandler, 9), RTNORM);
  EXPECT_EQ(lispOutput("(test_gone)"), "nil");
  ASSERT_EQ(ads_undef("test_gone", 9), RTNORM);
  EXPECT_EQ(lispOutput("(test_gone)"), "; error: no function definition: TEST_GONE");
}

}  // namespace
