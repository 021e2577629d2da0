// The drawing a script or a person works on: changes are never dropped
// without a word, names are completed as a shell user expects, and each
// command says what it did.
#include <gtest/gtest.h>

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
  EXPECT_NE(run.output.find("Command: QUIT\nChanges to show.dxf discarded.\n"), std::string::npos) << run.output;
  EXPECT_FALSE(session.saved());

  // Without QUIT the end of the script drops them the same way; nothing
  // changed, nothing is said.
  run = session.run("--batch", kChange);
  EXPECT_NE(run.output.find("\nChanges to show.dxf discarded.\n"), std::string::npos) << run.output;
  run = session.run("--batch", "LIST\nL\n\nQUIT\n");
  EXPECT_EQ(run.output.find("discarded"), std::string::npos) << run.output;
}

TEST(UnsavedChanges, QuitAsksAndEachAnswerDoesWhatItSays) {
  Session session;
  // Cancel keeps the session (the next command runs), an unknown answer asks
  // again, No drops the changes.
  ProcessResult run = session.run("", std::string(kChange) + "QUIT\nCancel\nLIST\nL\n\nQUIT\nMaybe\nNo\n");
  EXPECT_NE(run.output.find("Save changes to show.dxf? [Yes/No/Cancel] <Yes>: Cancel\nCommand: LIST"), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("<Yes>: Maybe\nInvalid option keyword.\nSave changes"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("<Yes>: No\nChanges to show.dxf discarded."), std::string::npos) << run.output;
  EXPECT_FALSE(session.saved());

  // Enter takes the default, Yes.
  run = session.run("", std::string(kChange) + "QUIT\n\n");
  EXPECT_NE(run.output.find("Drawing saved as " + session.drawing + "."), std::string::npos) << run.output;
  EXPECT_TRUE(session.saved());

  // Input that ends leaves nobody to ask.
  run = session.run("", std::string(kChange));
  EXPECT_NE(run.output.find("Changes to show.dxf discarded."), std::string::npos) << run.output;
}

TEST(DrawingCommands, NamesGetTheExtensionAndHomeAndEachCommandConfirms) {
  Session session;
  std::string home = session.scratch.path();
  ProcessResult run = runCommand("HOME='" + home + "' ARXHOST_REGISTRY='" + session.scratch.file("r.txt") + "' '" +
                                 binPath("arxhost") + "' '" + session.drawing + "' --batch --script /dev/stdin <<'EOF'\n"
                                 "SAVEAS\n~/copy\nOPEN\n~/copy\nSAVE\nOPEN\n~/absent\nEOF");
  EXPECT_NE(run.output.find("Drawing saved as " + home + "/copy.dxf."), std::string::npos) << run.output;
  EXPECT_TRUE(std::filesystem::exists(home + "/copy.dxf"));
  EXPECT_NE(run.output.find("Opened " + home + "/copy.dxf."), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Command: SAVE\nDrawing saved as " + home + "/copy.dxf."), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(home + "/absent.dxf"), std::string::npos) << "the failure names the completed path";
  EXPECT_EQ(run.status, 1) << "the failed OPEN fails the batch run";
}

TEST(BatchRun, AScriptLineADialogRefusesFailsTheRun) {
  Session session;
  ProcessResult run = session.run("--batch", "VRMLPROP\nL\nclick 4242\ncancel\n");
  EXPECT_NE(run.output.find("? "), std::string::npos) << run.output;
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_EQ(session.run("--batch", "VRMLPROP\nL\ncancel\n").status, 0);
}

TEST(CommandLine, LispResultsStartTheirOwnLineAndListNamesWhatToPick) {
  Session session;
  ProcessResult run = session.run("--batch", std::string(kChange) + "(vrml_wrlout (ssget \"X\") \"/no/such/dir/x.wrl\")\n"
                                                                  "LIST\nL\n\n");
  EXPECT_NE(run.output.find("Cannot create output file.\nnil"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\n3DFACE  handle "), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("extended data: PE_URL"), std::string::npos) << "the URL VRMLPROP stored" << run.output;
  EXPECT_EQ(run.output.find("Select objects: \nSelect objects: "), std::string::npos) << "asked once";
}

}  // namespace
