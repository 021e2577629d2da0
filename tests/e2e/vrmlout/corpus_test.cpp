// Every drawing of the corpus through the batch export: no failure, a world
// file every VRML reader takes, and the counts recorded per file.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "../../platform/dxf/dxf_test_support.h"
#include "../host/run_host.h"

namespace {

// "converted ignored" as the batch export reports them, "failed" otherwise.
std::string exportCounts(const std::string& drawing, const std::string& world) {
  ProcessResult run = runCommand("'" + binPath("vrmlout") + "' '" + drawing + "' '" + world + "' --vrml2 2>&1");
  size_t at = run.output.find(": ");
  unsigned converted = 0, ignored = 0;
  if (run.status != 0 || at == std::string::npos ||
      std::sscanf(run.output.c_str() + at, ": %u object(s) converted, %u object(s) ignored", &converted, &ignored) != 2)
    return "failed";
  return std::to_string(converted) + " " + std::to_string(ignored);
}

TEST(CorpusExport, EveryDrawingExportsToAWorldThatParses) {
  std::vector<std::filesystem::path> drawings;
  for (const auto& entry : std::filesystem::directory_iterator(VRML_CORPUS_DIR))
    if (entry.path().extension() == ".dxf") drawings.push_back(entry.path());
  std::sort(drawings.begin(), drawings.end());
  ASSERT_FALSE(drawings.empty());

  dxf_test::ScratchDir scratch;
  std::ostringstream counts;
  for (const auto& drawing : drawings) {
    std::string world = scratch.file(drawing.stem().string() + ".wrl");
    std::string result = exportCounts(drawing.string(), world);
    counts << drawing.filename().string() << " " << result << "\n";
    if (result == "failed") continue;
    ProcessResult check = runCommand("'" + binPath("vrmlcheck") + "' '" + world + "'");
    EXPECT_EQ(check.status, 0) << drawing << "\n" << check.output;
    EXPECT_NE(check.output.find("badindex 0\n"), std::string::npos) << drawing;
  }
  std::string expected = dxf_test::readFile(std::string(VRML_TEST_DATA_DIR) + "/vrmlout/corpus_counts.txt");
  EXPECT_EQ(counts.str(), expected) << "converted and ignored objects per drawing changed";
}

}  // namespace
