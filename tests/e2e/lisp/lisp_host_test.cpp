// AutoLISP in the host with the module loaded: the module's functions on a
// drawing, menu loading, loading on demand through the registry.
#include <gmock/gmock.h>

#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"

using namespace test_support;

namespace {

std::string dataPath(const std::string& name) { return std::string(VRML_TEST_DATA_DIR) + "/lisp/" + name; }

std::string withModule() { return "--batch --load '" + binPath("vrml.arx") + "'"; }

size_t occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// Links and materials read from the objects of a drawing written by another
// program; usage errors print the module's message and fail.
TEST(LispHost, FunctionsOnTheObjectsOfADrawing) {
  ProcessResult run = runHost("--batch '" + dataPath("links.dxf") + "' --load '" + binPath("vrml.arx") + "'",
                              readFile(dataPath("functions.scr")));
  EXPECT_EQ(run.output, readFile(dataPath("functions.expected")));
  EXPECT_EQ(run.status, 1) << "the usage errors are failed commands";
}

TEST(LispHost, VrmlInitTwiceKeepsCmdechoEachTime) {
  ProcessResult run = runHost(withModule(),
                              "(setvar \"CMDECHO\" 1)\n(vrml_init)\n(getvar \"CMDECHO\")\n"
                              "(setvar \"CMDECHO\" 0)\n(vrml_init)\n(getvar \"CMDECHO\")\n");
  EXPECT_THAT(run.output, testing::HasSubstr("Command: (setvar \"CMDECHO\" 1)\n1\nCommand: (vrml_init)\nnil\n"
                                             "Command: (getvar \"CMDECHO\")\n1\nCommand: (setvar \"CMDECHO\" 0)\n0\n"
                                             "Command: (vrml_init)\nnil\nCommand: (getvar \"CMDECHO\")\n0\n"));
  EXPECT_EQ(run.status, 0) << run.output;
}

// The menu group stays loaded when the module goes, so loading it again
// queues no (vrml_init).
TEST(LispHost, StartUpWithTheGroupLoadedQueuesNothing) {
  ProcessResult run = runHost(withModule(), "arx\nunload\nvrml\narx\nload\n" + binPath("vrml.arx") + "\n");
  EXPECT_EQ(occurrences(run.output, "Meshcast/AutoCAD loaded."), 2u) << run.output;
  EXPECT_EQ(occurrences(run.output, "(vrml_init)"), 1u) << run.output;
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(LispHost, ArxloadAndArxunloadFromAutoLisp) {
  ProcessResult run = runHost("--batch", "(arxload \"" + binPath("vrml.arx") +
                                             "\")\n(arxunload \"vrml\")\n"
                                             "(vrml_geturl nil)\n(arxunload \"vrml\" 'gone)\n");
  EXPECT_THAT(run.output,
              testing::HasSubstr("Command: (arxload \"" + binPath("vrml.arx") + "\")\n\nMeshcast/AutoCAD loaded."));
  EXPECT_THAT(run.output, testing::HasSubstr("Command: (arxunload \"vrml\")\n\"vrml\"\n"));
  EXPECT_THAT(run.output,
              testing::HasSubstr("Command: (vrml_geturl nil)\n; error: no function definition: VRML_GETURL\n"));
  EXPECT_THAT(run.output, testing::HasSubstr("Command: (arxunload \"vrml\" 'gone)\nGONE\n"));
}

// A host that has never loaded the module finds it through the entries the
// module wrote in an earlier run.
TEST(LispHost, ACommandLoadsItsModuleOnDemand) {
  ScratchDir scratch;
  std::string registry = "ARXHOST_REGISTRY='" + scratch.file("registry.txt") + "' ";
  std::string script = scratch.file("help.scr");
  writeFile(script, "VRMLHELP\n");
  std::string host = "'" + binPath("arxhost") + "' --batch --script '" + script + "' </dev/null";

  ProcessResult fresh = runCommand(registry + host);
  EXPECT_THAT(fresh.output, testing::HasSubstr("Unknown command \"VRMLHELP\""));
  EXPECT_EQ(fresh.status, 1);

  ProcessResult first = runCommand(registry + "'" + binPath("arxhost") + "' " + withModule() + " </dev/null");
  ASSERT_EQ(first.status, 0) << first.output;

  ProcessResult onDemand = runCommand(registry + host);
  EXPECT_THAT(onDemand.output, testing::HasSubstr("Command: VRMLHELP\nMeshcast/AutoCAD loaded."));
  EXPECT_THAT(onDemand.output, testing::HasSubstr("Meshcast/AutoCAD Help - Contents"));
  EXPECT_EQ(onDemand.status, 0) << onDemand.output;
}

}  // namespace
