// The module's registrations with the host: its command group, its AutoLISP
// function table and the dispatch of function codes, and its application
// object's life.
#include <gtest/gtest.h>

#include "ArxUtil.h"
#include "ZornVrml.h"
#include "acad/apps.h"
#include "acad/command_stack.h"
#include "acad/console.h"
#include "acad/lisp_functions.h"

namespace {

const char* const kFunctions[] = {"vrml_wrlout", "vrml_geturl", "vrml_getmaterial", "vrml_init"};

struct CallOutcome {
  bool succeeded;
  std::string failure;
  std::vector<int> resultTypes;
};

CallOutcome callFunction(const char* name) {
  CallOutcome outcome{false, "", {}};
  resbuf* result = nullptr;
  outcome.succeeded = acad::lisp_functions::call(name, nullptr, &result, &outcome.failure);
  for (const resbuf* rb = result; rb; rb = rb->rbnext) outcome.resultTypes.push_back(rb->restype);
  ads_relrb(result);
  return outcome;
}

class ModuleEntry : public ::testing::Test {
 protected:
  void SetUp() override { constructModuleStatics(); }
  void TearDown() override {
    undefineFunctions();
    removeCommands();
    ads_undef("vrml_probe", 4);
    destroyModuleStatics();
  }
};

TEST_F(ModuleEntry, RegistersTheFourCommandsInOrderAndRemovesTheGroup) {
  registerCommands();
  std::vector<std::string> names;
  for (const acad::commands::Registered& command : acad::commands::all()) {
    if (command.group != "Vrml_Commands") continue;
    names.push_back(command.globalName);
    EXPECT_EQ(command.localName, command.globalName);
    EXPECT_EQ(command.flags, 0);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"vrmlprop", "vrmlout", "vrmlabout", "vrmlhelp"}));
  EXPECT_NE(acad::commands::find("VRMLOUT"), nullptr);
  removeCommands();
  for (const char* name : {"vrmlprop", "vrmlout", "vrmlabout", "vrmlhelp"})
    EXPECT_EQ(acad::commands::find(name), nullptr) << name;
}

TEST_F(ModuleEntry, ACommandNameAlreadyTakenCostsOnlyThatCommand) {
  AcEdCommandStack* stack = commandStack();
  ASSERT_NE(stack, nullptr);
  auto noop = [] {};
  ASSERT_EQ(stack->addCommand("Other", "VRMLOUT", "VRMLOUT", 0, noop), Acad::eOk);
  registerCommands();
  EXPECT_EQ(acad::commands::find("vrmlout")->group, "Other");
  EXPECT_EQ(acad::commands::find("vrmlhelp")->group, "Vrml_Commands");
  stack->removeGroup("Other");
}

TEST_F(ModuleEntry, DefinesTheFunctionTableAndWithdrawsIt) {
  defineFunctions();
  for (const char* name : kFunctions) EXPECT_TRUE(acad::lisp_functions::isDefined(name)) << name;
  CallOutcome init = callFunction("VRML_INIT");
  EXPECT_TRUE(init.succeeded);
  EXPECT_EQ(init.resultTypes, std::vector<int>{RTNIL}) << "vrml_init sets no result";
  undefineFunctions();
  for (const char* name : kFunctions) EXPECT_FALSE(acad::lisp_functions::isDefined(name)) << name;
}

TEST_F(ModuleEntry, DefiningStopsAtTheFirstRefusal) {
  // Another application holds the third name.
  acad::apps::App other;
  {
    acad::apps::Scope scope(&other);
    ASSERT_EQ(ads_defun("vrml_getmaterial", 0), RTNORM);
  }
  defineFunctions();
  EXPECT_TRUE(acad::lisp_functions::isDefined("vrml_wrlout"));
  EXPECT_TRUE(acad::lisp_functions::isDefined("vrml_geturl"));
  EXPECT_FALSE(acad::lisp_functions::isDefined("vrml_init")) << "nothing after the refusal is defined";
  acad::lisp_functions::forgetApplication(&other);
}

TEST_F(ModuleEntry, AnUnknownFunctionCodeFailsWithTheModulesText) {
  ASSERT_EQ(ads_defun("vrml_probe", 4), RTNORM);
  ASSERT_EQ(ads_regfunc(invokeFunction, 4), RTNORM);
  CallOutcome outcome = callFunction("vrml_probe");
  EXPECT_FALSE(outcome.succeeded);
  EXPECT_EQ(outcome.failure, "Received nonexistent function code.");
  EXPECT_TRUE(outcome.resultTypes.empty());
}

TEST_F(ModuleEntry, TheApplicationObjectLivesBetweenConstructionAndDestruction) {
  ASSERT_TRUE(moduleStaticsBuilt());
  EXPECT_EQ(AfxGetApp(), &vrmlApp());
  constructModuleStatics();  // a second call builds nothing new
  EXPECT_EQ(AfxGetApp(), &vrmlApp());
  destroyModuleStatics();
  EXPECT_FALSE(moduleStaticsBuilt());
  EXPECT_EQ(AfxGetApp(), nullptr);
}

}  // namespace
