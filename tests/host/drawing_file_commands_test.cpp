// The drawing a script or a person works on: changes are never dropped
// without a word, names are completed as a shell user expects, and each
// command says what it did.
#include <gmock/gmock.h>

#include <filesystem>

#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"

using namespace test_support;

namespace {

// A URL on the last object of the drawing, through VRMLPROP's dialog.
const char* const kChange = "VRMLPROP\nL\ntype 1018 door.wrl\nok\n";

struct Session {
  ScratchDir scratch;
  std::string drawing = scratch.file("show.dxf");
  Session() { std::filesystem::copy_file(std::string(VRML_SOURCE_DIR) + "/samples/showcase.dxf", drawing); }
  ProcessResult run(const std::string& flags, const std::string& script) const {
    return runHost("'" + drawing + "' --load '" + binPath("vrml.arx") + "' " + flags, script);
  }
  bool saved() const { return readFile(drawing).find("door.wrl") != std::string::npos; }
};

TEST(UnsavedChanges, ABatchRunNeverAsksAndSaysTheyWereDiscarded) {
  Session session;
  ProcessResult run = session.run("--batch", std::string(kChange) + "QUIT\n");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_THAT(run.output, testing::HasSubstr("Command: QUIT\nChanges to show.dxf discarded.\n"));
  EXPECT_FALSE(session.saved());

  // Without QUIT the end of the script drops them the same way; nothing
  // changed, nothing is said.
  run = session.run("--batch", kChange);
  EXPECT_THAT(run.output, testing::HasSubstr("\nChanges to show.dxf discarded.\n"));
  run = session.run("--batch", "LIST\nL\n\nQUIT\n");
  EXPECT_THAT(run.output, testing::Not(testing::HasSubstr("discarded")));
}

TEST(UnsavedChanges, QuitAsksAndEachAnswerDoesWhatItSays) {
  Session session;
  // Cancel keeps the session (the next command runs), an unknown answer asks
  // again, No drops the changes.
  ProcessResult run = session.run("", std::string(kChange) + "QUIT\nCancel\nLIST\nL\n\nQUIT\nMaybe\nNo\n");
  EXPECT_THAT(run.output, testing::HasSubstr("Save changes to show.dxf? [Yes/No/Cancel] <Yes>: Cancel\nCommand: LIST"));
  EXPECT_THAT(run.output, testing::HasSubstr("<Yes>: Maybe\nInvalid option keyword.\nSave changes"));
  EXPECT_THAT(run.output, testing::HasSubstr("<Yes>: No\nChanges to show.dxf discarded."));
  EXPECT_FALSE(session.saved());

  // Enter takes the default, Yes.
  run = session.run("", std::string(kChange) + "QUIT\n\n");
  EXPECT_THAT(run.output, testing::HasSubstr("Drawing saved as " + session.drawing + "."));
  EXPECT_TRUE(session.saved());

  // Input that ends leaves nobody to ask.
  run = session.run("", std::string(kChange));
  EXPECT_THAT(run.output, testing::HasSubstr("Changes to show.dxf discarded."));
}

TEST(DrawingCommands, NamesGetTheExtensionAndHomeAndEachCommandConfirms) {
  Session session;
  std::string home = session.scratch.path();
  ProcessResult run = runCommand("HOME='" + home + "' ARXHOST_REGISTRY='" + session.scratch.file("r.txt") + "' '" +
                                 binPath("arxhost") + "' '" + session.drawing +
                                 "' --batch --script /dev/stdin <<'EOF'\n"
                                 "SAVEAS\n~/copy\nOPEN\n~/copy\nSAVE\nOPEN\n~/absent\nEOF");
  EXPECT_THAT(run.output, testing::HasSubstr("Drawing saved as " + home + "/copy.dxf."));
  EXPECT_TRUE(std::filesystem::exists(home + "/copy.dxf"));
  EXPECT_THAT(run.output, testing::HasSubstr("Opened " + home + "/copy.dxf."));
  EXPECT_THAT(run.output, testing::HasSubstr("Command: SAVE\nDrawing saved as " + home + "/copy.dxf."));
  EXPECT_THAT(run.output, testing::HasSubstr(home + "/absent.dxf")) << "the failure names the completed path";
  EXPECT_EQ(run.status, 1) << "the failed OPEN fails the batch run";
}

TEST(BatchRun, AScriptLineADialogRefusesFailsTheRun) {
  Session session;
  ProcessResult run = session.run("--batch", "VRMLPROP\nL\nclick 4242\ncancel\n");
  EXPECT_THAT(run.output, testing::HasSubstr("? "));
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_EQ(session.run("--batch", "VRMLPROP\nL\ncancel\n").status, 0);
}

TEST(CommandLine, LispResultsStartTheirOwnLineAndListNamesWhatToPick) {
  Session session;
  ProcessResult run = session.run("--batch", std::string(kChange) +
                                                 "(vrml_wrlout (ssget \"X\") \"/no/such/dir/x.wrl\")\n"
                                                 "LIST\nL\n\n");
  EXPECT_THAT(run.output, testing::HasSubstr("Cannot create output file.\nnil"));
  EXPECT_THAT(run.output, testing::HasSubstr("\n3DFACE  handle "));
  EXPECT_THAT(run.output, testing::HasSubstr("extended data: PE_URL")) << "the URL VRMLPROP stored" << run.output;
  EXPECT_THAT(run.output, testing::Not(testing::HasSubstr("Select objects: \nSelect objects: "))) << "asked once";
}

}  // namespace
