// vrml_wrlout from AutoLISP in the host: a VRML 1.0 file without a scaling
// node, the usage message, and a file that cannot be created.
#include <gmock/gmock.h>

#include <filesystem>

#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"

using namespace test_support;

namespace {

std::string linksDrawing() { return std::string(VRML_TEST_DATA_DIR) + "/lisp/links.dxf"; }

ProcessResult runOnLinks(const std::string& script) {
  return runHost("--batch '" + linksDrawing() + "' --load '" + binPath("vrml.arx") + "'", script);
}

// What the host printed for one command line, up to the next prompt.
std::string answerTo(const std::string& output, const std::string& line) {
  size_t start = output.find("Command: " + line + "\n");
  if (start == std::string::npos) return "<not run>";
  start += 10 + line.size();
  return output.substr(start, output.find("\nCommand: ", start) - start);
}

TEST(LispWrlout, ExportsTheSetToAVrml1FileWithoutScale) {
  ScratchDir scratch;
  std::string out = scratch.file("all.wrl");
  std::string extra = scratch.file("extra.wrl");
  std::string first = "(vrml_wrlout (ssget \"X\") \"" + out + "\")";
  std::string second = "(vrml_wrlout (ssget \"X\") \"" + extra + "\" \"ignored\" 3)";
  ProcessResult run = runOnLinks(first + "\n" + second + "\n");
  // The progress dialog shows itself in the transcript before the answer.
  EXPECT_THAT(answerTo(run.output, first), testing::EndsWith("closedT")) << run.output;
  EXPECT_THAT(answerTo(run.output, second), testing::EndsWith("closedT")) << run.output;
  std::string world = readFile(out);
  EXPECT_THAT(world, testing::StartsWith("#VRML V1.0 ascii\n"));
  EXPECT_THAT(world, testing::Not(testing::HasSubstr("scaleFactor")));
  EXPECT_THAT(world, testing::HasSubstr("http://example.com/full.wrl"));
  EXPECT_EQ(readFile(extra), world) << "arguments after the file name are not looked at";
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(LispWrlout, ArgumentsInTheWrongOrderPrintTheUsage) {
  ScratchDir scratch;
  std::string out = scratch.file("never.wrl");
  ProcessResult run = runOnLinks("(vrml_wrlout \"" + out + "\" (ssget \"X\"))\n(vrml_wrlout (ssget \"X\"))\n");
  const std::string usage = "\nUsage: vrml_wrlout selection_set filename\n; error: ADS request error";
  EXPECT_THAT(run.output, testing::HasSubstr("(vrml_wrlout \"" + out + "\" (ssget \"X\"))\n" + usage));
  EXPECT_THAT(run.output, testing::HasSubstr("(vrml_wrlout (ssget \"X\"))\n" + usage));
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(run.status, 1);
}

TEST(LispWrlout, AFileThatCannotBeCreatedIsReportedAndAnswersNil) {
  ProcessResult run = runOnLinks("(vrml_wrlout (ssget \"X\") \"/no/such/folder/out.wrl\")\n");
  EXPECT_EQ(answerTo(run.output, "(vrml_wrlout (ssget \"X\") \"/no/such/folder/out.wrl\")"),
            "\nCannot create output file.\nnil")  // the answer on a line of its own
      << run.output;
  EXPECT_EQ(run.status, 0) << run.output;
}

}  // namespace
