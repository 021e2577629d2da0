// arxhost with the module and a script: the transcript byte for byte, and the
// batch mode's exit status.
#include <gmock/gmock.h>

#include "support/corpus.h"
#include "support/files.h"
#include "support/run_host.h"

using namespace test_support;

namespace {

std::string dataPath(const std::string& name) { return std::string(VRML_TEST_DATA_DIR) + "/host/" + name; }

std::string withModule() { return "--batch --load '" + binPath("vrml.arx") + "'"; }

// Start-up prints message 21 and evaluates the queued (vrml_init); the
// commands answer in any case; function codes outside the table fail with the
// module's text; after unloading, no command of the module is left.
// (VRMLHELP's own output belongs to the transcript: update the expected file
// when it changes.)
TEST(HostTranscript, LoadRunAndUnloadTheModule) {
  ProcessResult run = runHost(withModule(), readFile(dataPath("lifecycle.scr")));
  EXPECT_EQ(run.output, readFile(dataPath("lifecycle.expected")));
  EXPECT_EQ(run.status, 1) << "the function codes outside the table are failed commands";
}

TEST(HostTranscript, BatchModeReportsFailuresAndUnansweredPrompts) {
  ProcessResult clean = runHost(withModule(), "arx\n?\n");
  EXPECT_EQ(clean.status, 0) << clean.output;

  ProcessResult unanswered = runHost(withModule(), "arx\nload\n");
  EXPECT_EQ(unanswered.status, 1);
  EXPECT_THAT(unanswered.output, testing::HasSubstr("\nRuntime extension file: \n"));

  ProcessResult unknown = runHost("--batch", "nosuchcommand\n");
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.output,
            "\nCommand: nosuchcommand\nUnknown command \"nosuchcommand\".  Press F1 for help.\nCommand: \n");

  ProcessResult badModule = runHost("--batch --load /nonexistent/x.arx", "");
  EXPECT_EQ(badModule.status, 1);
  EXPECT_EQ(badModule.output, "\nUnable to load /nonexistent/x.arx: cannot find /nonexistent/x.arx.\nCommand: \n");
}

TEST(HostTranscript, LoadsTheModuleFromTheCommandLineOnceOnly) {
  ProcessResult run = runHost("--batch", "arx\nload\n" + binPath("vrml.arx") + "\narx\nl\n" + binPath("vrml.arx") +
                                             "\nQUIT\narx\n?\n");
  EXPECT_THAT(run.output, testing::HasSubstr("Meshcast/AutoCAD loaded."));
  EXPECT_THAT(run.output,
              testing::HasSubstr("Unable to load " + binPath("vrml.arx") + ": vrml.arx is already loaded."));
  EXPECT_THAT(run.output, testing::EndsWith("\nCommand: QUIT\n")) << "nothing runs after QUIT";
  EXPECT_EQ(run.status, 1);
}

}  // namespace

namespace {

// The drawing named on the command line is the one SAVEAS writes; OPEN keeps
// the current drawing when the file cannot be read.
TEST(HostDrawings, OpenSaveAsAndAFailedOpen) {
  SKIP_WITHOUT_CORPUS();
  std::string corpus = corpusFile("acadsharp__xdata.dxf");
  std::string copy = testing::TempDir() + "/host_saved.dxf";
  std::remove(copy.c_str());
  ProcessResult run = runHost("--batch '" + corpus + "'", "saveas\n" + copy + "\nopen\n/nonexistent/a.dxf\nsave\n");
  EXPECT_EQ(run.output, "\nCommand: saveas\nSave drawing as <" + corpus + ">: " + copy + "\nDrawing saved as " + copy +
                            ".\nCommand: open\nEnter name of drawing: /nonexistent/a.dxf"
                            "\n/nonexistent/a.dxf: cannot open: No such file or directory"
                            "\nCommand: save\nDrawing saved as " +
                            copy + ".\nCommand: \n");
  EXPECT_EQ(run.status, 1) << "the failed OPEN";
  EXPECT_EQ(readFile(copy), readFile(corpus)) << "a drawing saved unchanged is the file it came from";
}

}  // namespace
