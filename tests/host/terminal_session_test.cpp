// arxhost as a person meets it in a terminal: keys that cancel without ending
// the host, help on F1, a dialog larger than the terminal, the question about
// unsaved changes, and a terminal put back however the host ends.
#include <gmock/gmock.h>

#include <filesystem>

#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"
#include "support/tmux_terminal.h"

using namespace test_support;

namespace {

// The host on a copy of the showcase drawing with the module loaded; a
// script, when given, runs before the person takes over.
std::string hostOn(const ScratchDir& scratch, const std::string& script = "") {
  std::filesystem::copy_file(std::string(VRML_SOURCE_DIR) + "/samples/showcase.dxf", scratch.file("show.dxf"));
  std::string line = "ARXHOST_REGISTRY=" + scratch.file("registry.txt") + " '" + binPath("arxhost") + "' '" +
                     scratch.file("show.dxf") + "' --load '" + binPath("vrml.arx") + "'";
  if (script.empty()) return line;
  writeFile(scratch.file("before.scr"), script);
  return line + " --script '" + scratch.file("before.scr") + "'";
}

// Answers VRMLPROP's dialog from a script: a URL on the last object.
const char* const kChangeScript = "VRMLPROP\nL\ntype 1018 door.wrl\nok\n";

TEST(HostTerminal, KeysCancelWithoutEndingTheHostAndF1ListsTheCommands) {
  ScratchDir scratch;
  TmuxTerminal terminal(hostOn(scratch), 60, 18);
  ASSERT_TRUE(terminal.shows("Command:"));
  terminal.type("Escape");
  EXPECT_TRUE(terminal.shows("Command: *Cancel*"));
  terminal.type("Enter");
  terminal.type("VRML C-c");
  EXPECT_TRUE(terminal.shows("Command: VRML*Cancel*"));
  terminal.type("F1");
  EXPECT_TRUE(terminal.shows("Commands of Vrml_Commands:"));
  EXPECT_TRUE(terminal.shows("vrmlout     Export to VRML"));
  EXPECT_THAT(terminal.screen(), testing::Not(testing::HasSubstr("Unknown command")));

  // VRMLPROP's dialog is taller than 18 lines: its buttons stay in sight.
  terminal.type("VRMLPROP Enter L Enter");
  ASSERT_TRUE(terminal.shows("Enlarge the terminal"));
  std::string dialog = terminal.screen();
  EXPECT_THAT(dialog, testing::HasSubstr("OK"));
  EXPECT_THAT(dialog, testing::HasSubstr("Cancel"));
  EXPECT_EQ(terminal.pane("#{alternate_on}"), "1");
  terminal.type("C-c");
  EXPECT_TRUE(terminal.shows("Select object: L"));
  EXPECT_EQ(terminal.pane("#{alternate_on}"), "0");
  EXPECT_EQ(terminal.pane("#{cursor_flag}"), "1");

  terminal.type("C-d");
  EXPECT_TRUE(terminal.shows("EXIT=0")) << "Ctrl+D at the command prompt ends the session";
}

TEST(HostTerminal, QuitAsksAboutUnsavedChangesAndCancelKeepsTheSession) {
  ScratchDir scratch;
  TmuxTerminal terminal(hostOn(scratch, kChangeScript));
  ASSERT_TRUE(terminal.shows("Dialog 130 closed: OK"));
  terminal.type("QUIT Enter");
  ASSERT_TRUE(terminal.shows("Save changes to show.dxf? [Yes/No/Cancel] <Yes>:"));
  terminal.type("Escape");
  EXPECT_TRUE(terminal.shows("<Yes>: *Cancel*"));
  terminal.type("C-d");  // the end of input asks the same question
  EXPECT_TRUE(terminal.shows("Command:\nSave changes to show.dxf?"));
  terminal.type("Enter");
  EXPECT_TRUE(terminal.shows("Drawing saved as " + scratch.file("show.dxf") + "."));
  EXPECT_TRUE(terminal.shows("EXIT=0"));
  EXPECT_THAT(readFile(scratch.file("show.dxf")), testing::HasSubstr("door.wrl"));
}

TEST(HostTerminal, TheTerminalIsPutBackWhenTheHostIsKilledInADialog) {
  ScratchDir scratch;
  TmuxTerminal terminal(hostOn(scratch) + "; stty -a | tr ' ' '\\n' | grep -x -- '-\\?icanon\\|-\\?echo'");
  ASSERT_TRUE(terminal.shows("Command:"));
  terminal.type("VRMLPROP Enter L Enter");
  ASSERT_TRUE(terminal.shows("VRML Properties"));
  EXPECT_EQ(terminal.pane("#{cursor_flag}"), "0");
  std::string pid = terminal.programPid();
  ASSERT_FALSE(pid.empty());
  runCommand("kill -TERM " + pid);
  ASSERT_TRUE(terminal.shows("EXIT="));
  std::string after = terminal.screen();
  EXPECT_EQ(terminal.pane("#{alternate_on}"), "0");
  EXPECT_EQ(terminal.pane("#{cursor_flag}"), "1");
  EXPECT_THAT(after, testing::HasSubstr("\nicanon\necho\n"));
  EXPECT_THAT(after, testing::Not(testing::HasSubstr("VRML Properties")))
      << "the dialog went with the alternate screen";
}

}  // namespace
