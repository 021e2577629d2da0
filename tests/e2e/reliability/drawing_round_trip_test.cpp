// Every drawing we have (the corpus written by other programs, the test
// drawings, the sample) through one host session: exported in both VRML
// versions, saved, reopened and saved again. The worlds must parse, the saved
// drawing must carry the original's tags plus only what the repair on loading
// adds, and an independent DXF library must find it clean: the faults other
// programs leave are repaired. The few drawings whose findings are no such
// fault need only be as clean as the original, and say why.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>

#include "support/corpus.h"
#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"

using namespace test_support;

namespace {

namespace fs = std::filesystem;

std::vector<std::string> drawings() {
  std::vector<std::string> paths;
  auto collect = [&paths](const fs::path& folder, bool recursive) {
    std::error_code missing;
    auto add = [&paths](const fs::directory_entry& entry) {
      if (entry.path().extension() == ".dxf") paths.push_back(entry.path().string());
    };
    if (recursive)
      for (const auto& entry : fs::recursive_directory_iterator(folder, missing)) add(entry);
    else
      for (const auto& entry : fs::directory_iterator(folder, missing)) add(entry);
  };
  collect(corpusDir(), false);
  collect(VRML_TEST_DATA_DIR, true);
  collect(fs::path(VRML_SOURCE_DIR) / "samples", false);
  std::sort(paths.begin(), paths.end());
  return paths;
}

// Drawings that audit as the original does after saving, by file name: what
// the independent library reports there is not a fault a host repairs.
const std::map<std::string, std::string>& notRepaired() {
  static const std::string r12BlockPolylines =
      "the library replaces the SEQEND of every POLYLINE inside a block of an R12 drawing and finds its own "
      "replacement ownerless (it does so with the R12 files it writes itself); the file's SEQENDs are sound";
  static const std::string oldEntity =
      "3DLINE is an entity of the drawing's own version (R10 and before); the library reads every old drawing "
      "as R12 and removes it";
  static const std::map<std::string, std::string> reasons = {
      {"acadsharp__sample_AC1009_ascii.dxf", r12BlockPolylines},
      {"acadsharp__sample_AC1009_binary.dxf", r12BlockPolylines},
      {"libredwg__example_r12.dxf", r12BlockPolylines},
      {"libredwg__r10-entities.dxf", oldEntity},
      {"libredwg__r2.6-entities.dxf", oldEntity},
      {"ezdxf__cc_dxflib.dxf",
       "the library's audit stops on an assertion of its own over this R12 file that also carries R2000 tables "
       "and objects (BLOCK_RECORD, LAYOUT), which R12 readers skip"},
  };
  return reasons;
}

// The script of the session: both exports, save, reopen, save again.
std::string sessionScript(const std::string& v1, const std::string& v2, const std::string& saved,
                          const std::string& resaved) {
  auto exportTo = [](const std::string& world, const char* version) {
    return "VRMLOUT\nALL\n\n" + world + "\nclick " + version + "\nok\n";
  };
  return exportTo(v1, "1055") + exportTo(v2, "1056") + "SAVEAS\n" + saved + "\nOPEN\n" + saved + "\nSAVEAS\n" +
         resaved + "\n";
}

// One line of the comparison script's answer, by its first word.
std::string lineOf(const std::string& report, const std::string& start) {
  std::istringstream lines(report);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(start, 0) == 0) return line;
  return "";
}

// The error and fix counts of an audit line ("LABEL errors E fixes F"), or
// nothing when the library could not read the file.
std::optional<std::pair<long, long>> auditCounts(const std::string& line) {
  long errors = 0, fixes = 0;
  size_t at = line.find(" errors ");
  if (at == std::string::npos || std::sscanf(line.c_str() + at, " errors %ld fixes %ld", &errors, &fixes) != 2)
    return std::nullopt;
  return std::make_pair(errors, fixes);
}

class DrawingRoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(DrawingRoundTrip, WorldsParseAndTheSavedDrawingIsTheOriginal) {
  const std::string original = GetParam();
  ScratchDir scratch;
  const std::string v1 = scratch.file("v1.wrl"), v2 = scratch.file("v2.wrl");
  const std::string saved = scratch.file("saved.dxf"), resaved = scratch.file("resaved.dxf");
  ProcessResult session = runHost("--batch '" + original + "' --load '" + binPath("vrml.arx") + "'",
                                  sessionScript(v1, v2, saved, resaved));

  // A drawing the reader refuses is named with the line (or byte) at fault.
  if (session.output.find("\n" + original + ": line ") != std::string::npos ||
      session.output.find("\n" + original + ": byte ") != std::string::npos) {
    std::printf("refused: %s\n", lineOf(session.output.substr(1), original).c_str());
    EXPECT_FALSE(fs::exists(v1));
    return;
  }
  ASSERT_EQ(session.status, 0) << session.output;

  for (const std::string& world : {v1, v2}) {
    ProcessResult check = runCommand("'" + binPath("vrmlcheck") + "' '" + world + "' 2>&1");
    EXPECT_EQ(check.status, 0) << world << "\n" << check.output;
    EXPECT_THAT(check.output, testing::HasSubstr("badindex 0\n")) << world << "\n" << check.output;
  }
  EXPECT_TRUE(readFile(resaved) == readFile(saved)) << "reopened and saved again, it changed";

  std::string report = runCommand("/usr/bin/python3 '" VRML_SOURCE_DIR "/tests/tools/dxf_round_trip.py' '" + original +
                                  "' '" + saved + "' 2>&1")
                           .output;
  EXPECT_EQ(lineOf(report, "tags "), lineOf(report, "tags same")) << report;
  // What the repair added, the host told the user when it opened the drawing.
  const std::string repairs = lineOf(report, "repairs ");
  EXPECT_EQ(repairs != "repairs none",
            session.output.find("\n" + original + ": repaired on loading: ") != std::string::npos)
      << repairs << "\n"
      << session.output;
  if (repairs != "repairs none") std::printf("%s\n", repairs.c_str());

  std::string before = lineOf(report, "original "), after = lineOf(report, "saved ");
  ASSERT_FALSE(before.empty() || after.empty()) << report;
  auto excused = notRepaired().find(fs::path(original).filename().string());
  if (excused == notRepaired().end()) {
    EXPECT_EQ(after, "saved errors 0 fixes 0") << report;
    return;
  }
  // At least as clean as the original: no count higher (or the same failure).
  auto originalCounts = auditCounts(before), savedCounts = auditCounts(after);
  if (originalCounts && savedCounts)
    EXPECT_TRUE(savedCounts->first <= originalCounts->first && savedCounts->second <= originalCounts->second) << report;
  else EXPECT_EQ(after.substr(6), before.substr(9)) << report;
  std::printf("not clean, like the original: %s\n%s", excused->second.c_str(), report.c_str());
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  fs::path path(info.param);
  std::string name = path.parent_path().filename().string() + "_" + path.stem().string();
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Drawings, DrawingRoundTrip, ::testing::ValuesIn(drawings()), testName);

}  // namespace
