// The module inside a host process: nothing of it is built when the library
// is mapped, its statics live from _SetacrxPtp until the library is unmapped,
// and a whole session leaves no block of it in the host allocator.
#include <dlfcn.h>
#include <gmock/gmock.h>

#include <cstdlib>

#include "acad/apps.h"
#include "acad/arx_loader.h"
#include "acad/command_stack.h"
#include "acad/console.h"
#include "acad/lisp_functions.h"
#include "acadmem.h"
#include "acrx.h"
#include "adslib.h"
#include "afxwin.h"
#include "heap_faults.h"
#include "support/run_host.h"
#include "support/status_matchers.h"

using namespace test_support;

namespace {

// The module writes its demand-load entries at start-up: into a registry
// file of the test's own, never the user's.
class ModuleLifecycle : public ::testing::Test {
 protected:
  void SetUp() override { setenv("ARXHOST_REGISTRY", (testing::TempDir() + "/lifecycle_registry.txt").c_str(), 1); }
};

TEST_F(ModuleLifecycle, StaticsAreBuiltBySetPtpAndDestroyedWhenUnmapped) {
  auto before = acad::heap::stats().liveBlocks;
  void* library = dlopen(binPath("vrml.arx").c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  EXPECT_EQ(AfxGetApp(), nullptr) << "mapping the library built the application object";
  EXPECT_EQ(acad::heap::stats().liveBlocks, before) << "mapping the library allocated";

  auto setPtp = reinterpret_cast<AcRxSetPtpFn>(dlsym(library, "_SetacrxPtp"));
  auto apiVersion = reinterpret_cast<AcRxGetApiVersionFn>(dlsym(library, "acrxGetApiVersion"));
  ASSERT_NE(setPtp, nullptr);
  ASSERT_NE(apiVersion, nullptr);
  EXPECT_EQ(apiVersion(), 0xE0000);
  setPtp(nullptr);
  EXPECT_NE(AfxGetApp(), nullptr);

  ASSERT_EQ(dlclose(library), 0);
  EXPECT_EQ(AfxGetApp(), nullptr) << "unmapping did not destroy the application object";
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

TEST_F(ModuleLifecycle, ASessionLeavesNoBlockOfTheModuleBehind) {
  auto before = acad::heap::stats().liveBlocks;
  acad::console::beginCapture();
  ASSERT_THAT(acad::arx::load(binPath("vrml.arx")), test_support::Succeeds());
  EXPECT_EQ(acad::lisp_functions::takeQueuedExpressions(), std::vector<std::string>{"(vrml_init)"});
  resbuf* result = nullptr;
  std::string failure;
  EXPECT_TRUE(acad::lisp_functions::call("vrml_init", nullptr, &result, &failure)) << failure;
  ads_relrb(result);
  for (int code : {4, -1}) {
    EXPECT_FALSE(acad::lisp_functions::invoke(acad::arx::application("vrml"), code, nullptr, &result, &failure));
    EXPECT_EQ(failure, "Received nonexistent function code.");
  }
  EXPECT_THAT(acad::arx::unload("vrml"), test_support::Succeeds());
  std::string transcript = acad::console::endCapture();
  EXPECT_THAT(transcript, testing::StartsWith("\nMeshcast/AutoCAD loaded.\nUse VRMLHELP for list of commands.\n"));
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

TEST_F(ModuleLifecycle, OtherMessageCodesChangeNothing) {
  acad::console::beginCapture();
  ASSERT_THAT(acad::arx::load(binPath("vrml.arx")), test_support::Succeeds());
  acad::lisp_functions::takeQueuedExpressions();
  acad::console::endCapture();
  auto* app = static_cast<acad::apps::App*>(acad::arx::application("vrml"));
  ASSERT_NE(app, nullptr);
  auto commandsBefore = acad::commands::all().size();
  acad::console::beginCapture();
  for (int code : {0, 6, 7, 100, -3})
    EXPECT_EQ(acad::apps::send(*app, static_cast<AcRx::AppMsgCode>(code)), AcRx::kRetOK) << code;
  EXPECT_EQ(acad::console::endCapture(), "");
  EXPECT_EQ(acad::commands::all().size(), commandsBefore);
  EXPECT_TRUE(acad::lisp_functions::isDefined("vrml_init"));
  EXPECT_TRUE(acad::lisp_functions::takeQueuedExpressions().empty());
  acad::console::beginCapture();
  EXPECT_THAT(acad::arx::unload("vrml"), test_support::Succeeds());
  acad::console::endCapture();
}

// The allocation layer binds inside the module: it calls no allocator of the
// run-time library, only the host's.
TEST_F(ModuleLifecycle, TheModuleCallsNoAllocatorButTheHosts) {
  ProcessResult nm = runCommand("nm -D --undefined-only '" + binPath("vrml.arx") + "'");
  ASSERT_EQ(nm.status, 0);
  for (const char* name : {" malloc", " calloc", " realloc", " free", " strdup", " _Znwm", " _Znam", " _ZdlPv",
                           " _ZdaPv", " _ZdlPvm", " _ZnwmRKSt9nothrow_t"}) {
    EXPECT_THAT(nm.output, testing::Not(testing::HasSubstr(std::string(name) + "\n"))) << name << " in\n" << nm.output;
    EXPECT_THAT(nm.output, testing::Not(testing::HasSubstr(std::string(name) + "@"))) << name << " in\n" << nm.output;
  }
  EXPECT_THAT(nm.output, testing::HasSubstr(" acad_malloc"));
}

}  // namespace
