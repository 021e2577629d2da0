// The AutoLISP function table: definitions, both ways of calling a function,
// results and failures, and what a call leaves on the heap.
#include <gtest/gtest.h>

#include "acad/arx_loader.h"
#include "acad/console.h"
#include "acad/lisp_functions.h"
#include "acadmem.h"
#include "adslib.h"
#include "heap_faults.h"
#include "support/status_matchers.h"

namespace {

struct Outcome {
  bool succeeded;
  resbuf* result;
  std::string failure;
  ~Outcome() { ads_relrb(result); }
};

Outcome callFunction(const char* name, const resbuf* args = nullptr) {
  Outcome outcome{false, nullptr, ""};
  outcome.succeeded = acad::lisp_functions::call(name, args, &outcome.result, &outcome.failure);
  return outcome;
}

// The types of a result list, in order.
std::vector<int> types(const resbuf* list) {
  std::vector<int> found;
  for (; list; list = list->rbnext) found.push_back(list->restype);
  return found;
}

// Functions defined here belong to the host itself (no module is running).
int returnsList() {
  resbuf* list = ads_buildlist(RTSTR, "a", RTNIL, RTSHORT, 1, RTREAL, 0.2, 0);
  ads_retlist(list);
  ads_relrb(list);
  return RSRSLT;
}
int setsNothing() { return RSRSLT; }
int refuses() {
  ads_retnil();
  return RSERR;
}
int reportsItsCode() {
  ads_retint(ads_getfuncode());
  return RSRSLT;
}

class FunctionTable : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const char* name : {"host_list", "host_nothing", "host_refuses", "host_code"})
      for (short code = 0; code < 20; ++code) ads_undef(name, code);
  }
};

TEST_F(FunctionTable, DirectHandlersHandBackWhatTheySet) {
  auto before = acad::heap::stats().liveBlocks;
  {
    ASSERT_EQ(ads_defun("host_list", 10), RTNORM);
    ASSERT_EQ(ads_regfunc(returnsList, 10), RTNORM);
    ASSERT_EQ(ads_defun("host_nothing", 11), RTNORM);
    ASSERT_EQ(ads_regfunc(setsNothing, 11), RTNORM);
    ASSERT_EQ(ads_defun("host_code", 12), RTNORM);
    ASSERT_EQ(ads_regfunc(reportsItsCode, 12), RTNORM);

    Outcome list = callFunction("HOST_LIST");
    ASSERT_TRUE(list.succeeded);
    EXPECT_EQ(types(list.result), (std::vector<int>{RTLB, RTSTR, RTNIL, RTSHORT, RTREAL, RTLE}));
    EXPECT_STREQ(list.result->rbnext->resval.rstring, "a");

    Outcome nothing = callFunction("host_nothing");
    ASSERT_TRUE(nothing.succeeded);
    EXPECT_EQ(types(nothing.result), std::vector<int>{RTNIL});

    Outcome code = callFunction("host_code");
    ASSERT_TRUE(code.succeeded);
    ASSERT_EQ(types(code.result), std::vector<int>{RTSHORT});
    EXPECT_EQ(code.result->resval.rint, 12);
  }
  EXPECT_EQ(acad::heap::stats().liveBlocks, before) << "results and argument copies are all released";
}

TEST_F(FunctionTable, FailuresCarryNoResult) {
  ads_defun("host_refuses", 13);
  ads_regfunc(refuses, 13);
  Outcome refused = callFunction("host_refuses");
  EXPECT_FALSE(refused.succeeded);
  EXPECT_EQ(refused.result, nullptr);
  EXPECT_EQ(refused.failure, "");

  Outcome unknown = callFunction("no_such_function");
  EXPECT_FALSE(unknown.succeeded);
  EXPECT_EQ(unknown.failure, "no function definition: no_such_function");

  // Defined but without a handler and without a module to ask.
  ads_defun("host_nothing", 14);
  EXPECT_FALSE(callFunction("host_nothing").succeeded);
}

TEST_F(FunctionTable, DefinitionsFollowTheirOwnerAndCode) {
  EXPECT_EQ(ads_defun("", 1), RTERROR);
  EXPECT_EQ(ads_defun(nullptr, 1), RTERROR);
  EXPECT_EQ(ads_defun("host_list", -1), RTERROR);
  EXPECT_EQ(ads_regfunc(returnsList, 15), RTERROR) << "code 15 is not defined";
  EXPECT_EQ(ads_defun("host_list", 15), RTNORM);
  EXPECT_EQ(ads_undef("host_list", 16), RTERROR) << "wrong code";
  EXPECT_EQ(ads_undef("HOST_LIST", 15), RTNORM);
  EXPECT_FALSE(acad::lisp_functions::isDefined("host_list"));
  // Outside a call there is no code, no argument and nowhere for a result.
  EXPECT_EQ(ads_getfuncode(), RTERROR);
  EXPECT_EQ(ads_getargs(), nullptr);
  EXPECT_EQ(ads_rett(), RTERROR);
  EXPECT_EQ(ads_fail("x"), RTERROR);
  EXPECT_EQ(ads_queueexpr(""), RTERROR);
}

class ModuleFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    acad::console::beginCapture();
    ASSERT_THAT(acad::arx::load(std::string(VRML_BIN_DIR) + "/probe.arx"), test_support::Succeeds());
    acad::lisp_functions::takeQueuedExpressions();
  }
  void TearDown() override {
    acad::arx::unloadAll();
    acad::console::endCapture();
  }
};

TEST_F(ModuleFunctions, AFunctionWithoutHandlerIsReachedThroughItsModule) {
  resbuf* args = ads_buildlist(RTSTR, "echo me", 0);
  Outcome echoed = callFunction("probe_echo", args);
  ads_relrb(args);
  ASSERT_TRUE(echoed.succeeded);
  ASSERT_EQ(types(echoed.result), std::vector<int>{RTSTR});
  EXPECT_STREQ(echoed.result->resval.rstring, "echo me");

  Outcome direct = callFunction("probe_direct");
  ASSERT_TRUE(direct.succeeded);
  EXPECT_EQ(types(direct.result), std::vector<int>{RTT});

  Outcome broken = callFunction("probe_broken");
  EXPECT_FALSE(broken.succeeded);
  EXPECT_EQ(broken.failure, "probe: unknown code");
}

TEST_F(ModuleFunctions, ANameAModuleHoldsIsRefusedToOthers) {
  EXPECT_EQ(ads_defun("probe_echo", 3), RTERROR);
  EXPECT_EQ(ads_undef("probe_echo", 0), RTERROR);
  EXPECT_TRUE(acad::lisp_functions::isDefined("probe_echo"));
}

}  // namespace
