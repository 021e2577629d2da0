// Replays every input the fuzzers kept through the entry of its target, and
// checks the entries on their seeds, without libFuzzer.
#include <gmock/gmock.h>

#include <filesystem>
#include <string>

#include "drawing_file.h"
#include "entries/facet_drawing.h"
#include "entries/fuzz_entries.h"
#include "support/files.h"
#include "support/status_matchers.h"

namespace fs = std::filesystem;

namespace {

const fs::path kFuzzDir = fs::path(VRML_SOURCE_DIR) / "fuzz";

std::vector<fs::path> filesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// An input ends in success or a refusal that says why, never a broken promise.
void expectHandled(const fuzz_entry::Result& result, const fs::path& input) {
  EXPECT_NE(result.kind, fuzz_entry::Result::Broken) << input << ": " << result.detail;
  if (result.kind == fuzz_entry::Result::Refused) {
    EXPECT_FALSE(result.detail.empty()) << input;
  }
}

}  // namespace

TEST(FuzzRegressions, EveryKeptInputIsHandledByItsTarget) {
  size_t replayed = 0;
  for (const auto& folder : fs::directory_iterator(kFuzzDir / "regressions")) {
    std::string target = folder.path().filename().string();
    fuzz_entry::Entry entry = fuzz_entry::entryNamed(target);
    ASSERT_NE(entry, nullptr) << "a folder of inputs for no target: " << target;
    for (const fs::path& input : filesIn(folder.path())) {
      expectHandled(entry(test_support::readFile(input)), input);
      ++replayed;
    }
  }
  EXPECT_GT(replayed, 0u);
}

TEST(FuzzRegressions, SeedDrawingsReadSaveAndReadBackUnchanged) {
  for (std::string_view target : {"dxf_text", "dxf_binary"}) {
    std::vector<fs::path> seeds = filesIn(kFuzzDir / "seeds" / target);
    ASSERT_GE(seeds.size(), 5u) << target;
    for (const fs::path& seed : seeds) {
      fuzz_entry::Result result = fuzz_entry::entryNamed(target)(test_support::readFile(seed));
      EXPECT_EQ(result.kind, fuzz_entry::Result::Accepted) << seed << ": " << result.detail;
    }
  }
}

TEST(FuzzRegressions, AcisSeedsReadAndDamagedOnesAreRefusedWithAReason) {
  std::vector<fs::path> seeds = filesIn(kFuzzDir / "seeds" / "acis");
  ASSERT_GE(seeds.size(), 10u);
  for (const fs::path& seed : seeds) {
    fuzz_entry::Result result = fuzz_entry::acis(test_support::readFile(seed));
    EXPECT_EQ(result.kind, fuzz_entry::Result::Accepted) << seed << ": " << result.detail;
  }
  fuzz_entry::Result cut = fuzz_entry::acis(test_support::readFile(seeds.back()).substr(0, 100));
  EXPECT_EQ(cut.kind, fuzz_entry::Result::Refused);
  EXPECT_FALSE(cut.detail.empty());
}

TEST(FuzzRegressions, DrawingFromMemoryRefusesWhatTheFileReaderRefuses) {
  EXPECT_THAT(dxf::openFromMemory("cut.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n"),
              test_support::FailsWith(testing::HasSubstr("cut.dxf")));
  fuzz_entry::Result result = fuzz_entry::dxfText("0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n");
  EXPECT_EQ(result.kind, fuzz_entry::Result::Refused);
  EXPECT_THAT(result.detail, testing::HasSubstr("invalid number"));
}

TEST(FuzzRegressions, LispTextIsEvaluatedAndPromptsTakeTheAnswersAfterTheNul) {
  EXPECT_EQ(fuzz_entry::lisp("(setq a (list 1 2)) (car (cdr a))").kind, fuzz_entry::Result::Accepted);
  fuzz_entry::Result bad = fuzz_entry::lisp("(car 1)");
  EXPECT_EQ(bad.kind, fuzz_entry::Result::Refused);
  EXPECT_THAT(bad.detail, testing::HasSubstr("; error: bad argument type"));
  // Without answers the selection prompt is cancelled; with "all" it selects
  // the drawing's three entities.
  EXPECT_EQ(fuzz_entry::lisp("(sslength (ssget))").kind, fuzz_entry::Result::Refused);
  EXPECT_EQ(fuzz_entry::lisp(std::string("(sslength (ssget))\0all\n\n", 24)).kind, fuzz_entry::Result::Accepted);
  for (const fs::path& seed : filesIn(kFuzzDir / "seeds" / "lisp"))
    expectHandled(fuzz_entry::lisp(test_support::readFile(seed)), seed);
}

TEST(FuzzRegressions, AnyBytesDecodeToADrawingTheReaderTakesAndTheFacetterCuts) {
  std::string counting, ones(300, '\xff');
  for (int i = 0; i < 1024; ++i) counting += static_cast<char>(i * 37 % 256);
  for (const std::string& bytes : {std::string(), std::string(64, '\0'), ones, counting}) {
    std::string text = fuzz_entry::facetDrawing(bytes);
    EXPECT_THAT(text, testing::EndsWith("0\nEOF\n"));
    EXPECT_THAT(dxf::openFromMemory("decoded.dxf", text), test_support::Succeeds()) << text;
    fuzz_entry::Result result = fuzz_entry::facet(bytes);
    EXPECT_EQ(result.kind, fuzz_entry::Result::Accepted) << result.detail << "\n" << text;
  }
}
