// Loading modules: the order of their lifecycle, what they register, and the
// modules the loader must refuse.
#include <gmock/gmock.h>

#include <fstream>

#include "acad/apps.h"
#include "acad/arx_loader.h"
#include "acad/command_stack.h"
#include "acad/console.h"
#include "acad/lisp_functions.h"
#include "acadmem.h"
#include "heap_faults.h"
#include "support/status_matchers.h"

namespace {

using test_support::FailsWith;
using test_support::Succeeds;

std::string module(const char* name) { return std::string(VRML_BIN_DIR) + "/" + name; }

// Runs `step` and answers what it printed.
template <typename Step>
std::string transcriptOf(Step step) {
  acad::console::beginCapture();
  step();
  return acad::console::endCapture();
}

class Loader : public ::testing::Test {
 protected:
  void TearDown() override {
    acad::console::beginCapture();
    acad::arx::unloadAll();
    acad::console::endCapture();
    acad::lisp_functions::takeQueuedExpressions();
  }
};

TEST_F(Loader, DrivesTheLifecycleInOrderAndWithdrawsEverythingAtUnload) {
  std::string loading = transcriptOf([&] { EXPECT_THAT(acad::arx::load(module("probe.arx")), Succeeds()); });
  EXPECT_EQ(loading, "[setptp][msg 1][msg 3]");
  EXPECT_EQ(acad::arx::loaded(), std::vector<std::string>{"probe.arx"});
  EXPECT_EQ(acad::arx::pathOf("PROBE"), module("probe.arx"));
  EXPECT_EQ(acad::lisp_functions::takeQueuedExpressions(), std::vector<std::string>{"(probe_echo \"queued\")"});

  const acad::commands::Registered* command = acad::commands::find("_.PrObEcMd");
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->group, "Probe");
  // The command runs inside its module, which therefore knows its own path.
  EXPECT_EQ(transcriptOf([&] { acad::commands::run(*command); }), "[probe command in module]");
  EXPECT_TRUE(acad::lisp_functions::isDefined("PROBE_ECHO"));

  std::string unloading = transcriptOf([&] { EXPECT_THAT(acad::arx::unload("probe.arx"), Succeeds()); });
  EXPECT_EQ(unloading, "[msg 4][msg 2]");
  EXPECT_TRUE(acad::arx::loaded().empty());
  EXPECT_EQ(acad::commands::find("probecmd"), nullptr);
  EXPECT_FALSE(acad::lisp_functions::isDefined("probe_echo"));
}

TEST_F(Loader, ClosingAndOpeningADrawingWithdrawsAndDefinesFunctionsAgain) {
  transcriptOf([] { EXPECT_THAT(acad::arx::load(module("probe.arx")), Succeeds()); });
  EXPECT_EQ(transcriptOf([] { acad::arx::drawingClosed(); }), "[msg 4]");
  EXPECT_FALSE(acad::arx::drawingOpen());
  // No drawing: unloading sends no kUnloadDwgMsg, loading no kLoadDwgMsg.
  EXPECT_EQ(transcriptOf([] { EXPECT_THAT(acad::arx::unload("probe"), Succeeds()); }), "[msg 2]");
  EXPECT_EQ(transcriptOf([] { EXPECT_THAT(acad::arx::load(module("probe.arx")), Succeeds()); }), "[setptp][msg 1]");
  EXPECT_EQ(transcriptOf([] { acad::arx::drawingOpened(); }), "[msg 3]");
  EXPECT_TRUE(acad::lisp_functions::isDefined("probe_direct"));
}

TEST_F(Loader, RefusesModulesThatBreakTheRules) {
  auto before = acad::heap::stats().liveBlocks;
  EXPECT_THAT(acad::arx::load(module("oldapi.arx")),
              FailsWith("not an ARX application: incompatible interface version"));
  EXPECT_THAT(acad::arx::load(module("nosetptp.arx")), FailsWith("not an ARX application: missing _SetacrxPtp"));
  EXPECT_THAT(acad::arx::load(module("missing.arx")), FailsWith("cannot find " + module("missing.arx")));
  std::string notLibrary = testing::TempDir() + "/text.arx";
  std::ofstream(notLibrary) << "not a library\n";
  EXPECT_THAT(acad::arx::load(notLibrary), FailsWith(testing::StartsWith("cannot load " + notLibrary + ": ")));
  EXPECT_TRUE(acad::arx::loaded().empty());
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

TEST_F(Loader, RefusesToLoadTwiceOrToUnloadALockedBusyOrUnknownModule) {
  transcriptOf([] { EXPECT_THAT(acad::arx::load(module("probe.arx")), Succeeds()); });
  EXPECT_THAT(acad::arx::load(module("probe.arx")), FailsWith("probe.arx is already loaded"));
  EXPECT_THAT(acad::arx::unload("nothing"), FailsWith("nothing is not loaded"));

  {
    // While the module's code runs (one of its commands, say), it stays.
    acad::apps::Scope running(static_cast<acad::apps::App*>(acad::arx::application("probe")));
    EXPECT_THAT(acad::arx::unload("probe"), FailsWith("probe.arx is busy and cannot be unloaded"));
  }

  transcriptOf([] { EXPECT_THAT(acad::arx::load(module("locked.arx")), Succeeds()); });
  EXPECT_FALSE(acad::arx::isUnlocked("locked"));
  EXPECT_THAT(acad::arx::unload("locked.arx"), FailsWith("locked.arx is locked and cannot be unloaded"));
  EXPECT_EQ(acad::arx::loaded(), (std::vector<std::string>{"probe.arx", "locked.arx"}));
  // The host's shutdown ends every module, the locked one too, last first.
  EXPECT_EQ(transcriptOf([] { acad::arx::unloadAll(); }), "[msg 4][msg 2][msg 4][msg 2]");
  EXPECT_TRUE(acad::arx::loaded().empty());
}

}  // namespace
