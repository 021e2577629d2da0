// The batch front: flags become VRMLOUT's answers; failures give a status.
#include <gmock/gmock.h>

#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"

using namespace test_support;

namespace {

ProcessResult vrmlout(const std::string& arguments) {
  return runCommand("'" + binPath("vrmlout") + "' " + arguments + " 2>&1");
}

std::string five() { return "'" + std::string(VRML_TEST_DATA_DIR) + "/vrmlout/five.dxf'"; }

TEST(BatchExport, FlagsChooseVersionUnitsAndSelection) {
  ScratchDir scratch;
  std::string out = scratch.file("five.wrl");
  ProcessResult run = vrmlout(five() + " '" + out + "' --vrml2 --units in --select L=Green");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_THAT(run.output, testing::HasSubstr(out + ": 1 object(s) converted, 0 object(s) ignored"));
  std::string world = readFile(out);
  EXPECT_THAT(world, testing::StartsWith("#VRML V2.0 utf8\n"));
  EXPECT_THAT(world, testing::HasSubstr("scale 0.025400 0.025400 0.025400")) << "the inch itself, not the button's";
  EXPECT_THAT(world, testing::HasSubstr("DEF Object1 Shape")) << "numbers count within the selection";

  // An existing file is replaced, and a scale factor of the user's own is taken.
  run = vrmlout(five() + " '" + out + "' --units 2.5");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_THAT(readFile(out), testing::HasSubstr("scaleFactor 2.500000 2.500000 2.500000"));
}

TEST(BatchExport, FailuresAreToldByTheExitStatus) {
  EXPECT_EQ(vrmlout(five() + " --units 0").status, 2);
  EXPECT_EQ(vrmlout(five() + " --bogus").status, 2);
  EXPECT_EQ(vrmlout("/no/such/drawing.dxf").status, 2);
  ProcessResult run = vrmlout(five() + " /no/such/folder/out.wrl");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "vrmlout: " + five().substr(1, five().size() - 2) +
                            ": cannot create /no/such/folder/out.wrl: No such file or directory\n");
}

}  // namespace
