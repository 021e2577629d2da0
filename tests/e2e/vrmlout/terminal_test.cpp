// VRMLOUT as a person runs it: arxhost in a real terminal (tmux), the options
// dialog drawn on the screen, an access key choosing the unit, Enter exporting,
// and the outcome left on the command line.
#include <gmock/gmock.h>

#include <chrono>
#include <thread>

#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"
#include "support/tmux_terminal.h"

using namespace test_support;

namespace {

TEST(VrmloutTerminal, TheOptionsDialogIsDrawnAndKeysChooseAndExport) {
  ScratchDir scratch;
  std::string out = scratch.file("keys.wrl");
  TmuxTerminal terminal("ARXHOST_REGISTRY=" + scratch.file("registry.txt") + " '" + binPath("arxhost") + "' '" +
                        VRML_SOURCE_DIR + "/samples/showcase.dxf' --load '" + binPath("vrml.arx") + "'");
  ASSERT_TRUE(terminal.shows("Command:"));
  terminal.type("VRMLOUT Enter ALL Enter Enter '" + out + "' Enter");
  ASSERT_TRUE(terminal.shows("Meshcast options"));
  EXPECT_TRUE(terminal.shows("(*) Milimeter"));
  terminal.type("e");  // the access key of "M&eter"
  EXPECT_TRUE(terminal.shows("(*) Meter"));
  terminal.type("Enter");
  for (int i = 0; i < 100 && readFile(out).find("scaleFactor") == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_THAT(readFile(out), testing::HasSubstr("\tscaleFactor 1.000000 1.000000 1.000000\n"));
  // The progress dialog is gone in a moment; its outcome stays in the transcript.
  EXPECT_TRUE(terminal.shows("in progress: 18 object(s) converted. 0 object(s) ignored."));
  EXPECT_TRUE(terminal.shows("File: " + out));
}

}  // namespace
