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

namespace {

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
  std::string error;
  std::string loading = transcriptOf([&] { EXPECT_TRUE(acad::arx::load(module("probe.arx"), &error)) << error; });
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

  std::string unloading = transcriptOf([&] { EXPECT_TRUE(acad::arx::unload("probe.arx", &error)) << error; });
  EXPECT_EQ(unloading, "[msg 4][msg 2]");
  EXPECT_TRUE(acad::arx::loaded().empty());
  EXPECT_EQ(acad::commands::find("probecmd"), nullptr);
  EXPECT_FALSE(acad::lisp_functions::isDefined("probe_echo"));
}

TEST_F(Loader, ClosingAndOpeningADrawingWithdrawsAndDefinesFunctionsAgain) {
  transcriptOf([] { acad::arx::load(module("probe.arx")); });
  EXPECT_EQ(transcriptOf([] { acad::arx::drawingClosed(); }), "[msg 4]");
  EXPECT_FALSE(acad::arx::drawingOpen());
  // No drawing: unloading sends no kUnloadDwgMsg, loading no kLoadDwgMsg.
  EXPECT_EQ(transcriptOf([] { acad::arx::unload("probe"); }), "[msg 2]");
  EXPECT_EQ(transcriptOf([] { acad::arx::load(module("probe.arx")); }), "[setptp][msg 1]");
  EXPECT_EQ(transcriptOf([] { acad::arx::drawingOpened(); }), "[msg 3]");
  EXPECT_TRUE(acad::lisp_functions::isDefined("probe_direct"));
}

TEST_F(Loader, RefusesModulesThatBreakTheRules) {
  std::string error;
  auto before = acad::heap::stats().liveBlocks;
  EXPECT_FALSE(acad::arx::load(module("oldapi.arx"), &error));
  EXPECT_EQ(error, "not an ARX application: incompatible interface version");
  EXPECT_FALSE(acad::arx::load(module("nosetptp.arx"), &error));
  EXPECT_EQ(error, "not an ARX application: missing _SetacrxPtp");
  EXPECT_FALSE(acad::arx::load(module("missing.arx"), &error));
  EXPECT_EQ(error, "cannot find " + module("missing.arx"));
  std::string notLibrary = testing::TempDir() + "/text.arx";
  std::ofstream(notLibrary) << "not a library\n";
  EXPECT_FALSE(acad::arx::load(notLibrary, &error));
  EXPECT_THAT(error, testing::StartsWith("cannot load " + notLibrary + ": "));
  EXPECT_TRUE(acad::arx::loaded().empty());
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

TEST_F(Loader, RefusesToLoadTwiceOrToUnloadALockedBusyOrUnknownModule) {
  std::string error;
  transcriptOf([] { acad::arx::load(module("probe.arx")); });
  EXPECT_FALSE(acad::arx::load(module("probe.arx"), &error));
  EXPECT_EQ(error, "probe.arx is already loaded");
  EXPECT_FALSE(acad::arx::unload("nothing", &error));
  EXPECT_EQ(error, "nothing is not loaded");

  {
    // While the module's code runs (one of its commands, say), it stays.
    acad::apps::Scope running(static_cast<acad::apps::App*>(acad::arx::application("probe")));
    EXPECT_FALSE(acad::arx::unload("probe", &error));
    EXPECT_EQ(error, "probe.arx is busy and cannot be unloaded");
  }

  transcriptOf([] { acad::arx::load(module("locked.arx")); });
  EXPECT_FALSE(acad::arx::isUnlocked("locked"));
  EXPECT_FALSE(acad::arx::unload("locked.arx", &error));
  EXPECT_EQ(error, "locked.arx is locked and cannot be unloaded");
  EXPECT_EQ(acad::arx::loaded(), (std::vector<std::string>{"probe.arx", "locked.arx"}));
  // The host's shutdown ends every module, the locked one too, last first.
  EXPECT_EQ(transcriptOf([] { acad::arx::unloadAll(); }), "[msg 4][msg 2][msg 4][msg 2]");
  EXPECT_TRUE(acad::arx::loaded().empty());
}

}  // namespace
