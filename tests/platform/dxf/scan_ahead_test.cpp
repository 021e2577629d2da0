// Reading a text drawing with a second thread scanning ahead gives the same
// records, the same refusal and the same line as reading it on one thread,
// also when the fault or the end lies batches after the start.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "db/database.h"
#include "dbbuild.h"
#include "dbmain.h"
#include "drawing_file.h"
#include "dxf/readers.h"
#include "support/corpus.h"
#include "support/files.h"
#include "support/scratch_dir.h"
#include "support/status_matchers.h"

namespace {

constexpr size_t kAlwaysAhead = 0;
constexpr size_t kNeverAhead = std::numeric_limits<size_t>::max();

struct Outcome {
  bool ok = false;
  std::string error;
  std::vector<std::string> records;  // type, handle and place in the text of each
  bool operator==(const Outcome&) const = default;
};

Outcome read(const std::string& text, size_t scanAheadFrom) {
  db::Database database;
  dxf::RecordCollector collector(database, "t.dxf", "line", text.data());
  Outcome outcome;
  outcome.ok = dxf::readAscii(text, collector, {}, scanAheadFrom);
  outcome.error = collector.error();
  for (const db::Record* record : database.records())
    outcome.records.push_back(std::string(record->type) + " " + std::to_string(record->handle) + " @" +
                              std::to_string(record->textOffset) + "+" + std::to_string(record->textLength));
  return outcome;
}

void expectSameBothWays(const std::string& text, const std::string& what) {
  Outcome inline_ = read(text, kNeverAhead), ahead = read(text, kAlwaysAhead);
  EXPECT_EQ(ahead.ok, inline_.ok) << what;
  EXPECT_EQ(ahead.error, inline_.error) << what;
  EXPECT_EQ(ahead.records, inline_.records) << what;
}

// Enough lines for the scanner to fill many batches.
std::string manyLines(int count) {
  std::string text = "0\nSECTION\n2\nENTITIES\n";
  for (int i = 0; i < count; ++i)
    text += "0\nLINE\n5\n" + std::to_string(100 + i) + "\n8\n0\n10\n" + std::to_string(i) +
            ".5\n20\n0\n30\n0\n11\n1\n21\n1\n31\n1\n";
  return text;
}

TEST(ScanAhead, FaultsAndEndsFarIntoTheFileGiveTheSameOutcome) {
  const std::string body = manyLines(20000);
  const std::string end = "0\nENDSEC\n0\nEOF\n";
  Outcome whole = read(body + end, kAlwaysAhead);
  EXPECT_TRUE(whole.ok) << whole.error;
  EXPECT_EQ(whole.records.size(), 20003u);
  expectSameBothWays(body + end, "whole");
  expectSameBothWays(body + end + "999\njunk after the end\n", "junk after EOF");
  expectSameBothWays(body + "0\nLINE\n10\nnan\n" + end, "bad number at the end");
  expectSameBothWays(body + "0\nLINE\nten\n1\n" + end, "bad code at the end");
  expectSameBothWays(body + "0\nLINE\n10\n", "cut inside the last tag");
  expectSameBothWays(body, "no EOF");
  expectSameBothWays(body + "0\nSECTION\n2\nBLOCKS\n" + end, "nested section");
  expectSameBothWays("\xEF\xBB\xBF" + body + end, "byte order mark");
  EXPECT_EQ(read(body + "0\nLINE\n10\nnan\n" + end, kAlwaysAhead).error,
            "t.dxf: line 360008: invalid number \"nan\" for group code 10");
}

TEST(ScanAhead, ALargeFileCutShortIsRefusedWithItsLastLineAndTheDrawingKept) {
  // Past the 16 MB at which the reader lets the file's first pages go.
  std::string text = manyLines(480000) + "0\nLINE\n10\n";
  ASSERT_GT(text.size(), size_t(16) << 20);
  test_support::ScratchDir scratch;
  const std::string path = scratch.file("cut.dxf");
  test_support::writeFile(path, text);
  AcDbDatabase* before = db::build::newDrawing();
  EXPECT_THAT(dxf::open(path),
              test_support::FailsWith(path + ": line 8640007: unexpected end of file after group code 10"));
  EXPECT_EQ(acdbCurDwg(), before);
}

TEST(ScanAhead, SmallAndEmptyInputsGiveTheSameOutcome) {
  for (const std::string& text : {std::string(), std::string("0\nEOF\n"), std::string("0\n"), std::string("x\n"),
                                  std::string("0\nSECTION\n2\nHEADER\n0\nENDSEC\n0\nEOF\n")})
    expectSameBothWays(text, "\"" + text + "\"");
}

TEST(ScanAhead, EveryTextDrawingOfTheCorpusReadsTheSame) {
  SKIP_WITHOUT_CORPUS();
  int files = 0;
  for (const auto& drawing : test_support::corpusDrawings()) {
    std::string text = test_support::readFile(drawing.string());
    if (text.starts_with(dxf::kBinarySentinel)) continue;
    expectSameBothWays(text, drawing.filename().string());
    ++files;
  }
  EXPECT_GE(files, 20);
}

}  // namespace
