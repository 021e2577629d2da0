// Reading a text drawing with a second thread scanning ahead gives the same
// records, the same refusal and the same line as reading it on one thread,
// also when the fault or the end lies batches after the start.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "db/database.h"
#include "db/drawing_repair.h"
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
  std::vector<std::string> records;  // type, handle, place in the text and notes of each
  std::string repairs;               // what the repair watching the load found to add
  bool operator==(const Outcome&) const = default;
};

// Read with the repair watching, as the host reads: the tags it asks for
// must reach it the same both ways.
Outcome read(const std::string& text, size_t scanAheadFrom) {
  db::Database database;
  db::DrawingRepair repair(database);
  database.watchLoading(&repair);
  dxf::RecordCollector collector(database, "t.dxf", "line", text.data());
  Outcome outcome;
  outcome.ok = dxf::readAscii(text, collector, {}, scanAheadFrom);
  outcome.error = collector.error();
  database.setText(std::make_unique<db::DrawingText>(text));  // for the repairs that edit records
  for (const db::Record* record : database.records())
    outcome.records.push_back(std::string(record->type) + " " + std::to_string(record->handle) + " @" +
                              std::to_string(record->textOffset) + "+" + std::to_string(record->textLength) +
                              (record->colorAsRead ? " colour" : "") + (record->extendedDataAsRead ? " xdata" : "") +
                              (record->paperSpaceAsRead ? " paper" : "") + " followers " +
                              std::to_string(record->followerCount) + " tags " +
                              std::to_string(record->stored ? record->stored->tags.size() : 0));
  if (outcome.ok) outcome.repairs = repair.run().summary();
  return outcome;
}

void expectSameBothWays(const std::string& text, const std::string& what) {
  Outcome inline_ = read(text, kNeverAhead), ahead = read(text, kAlwaysAhead);
  EXPECT_EQ(ahead.ok, inline_.ok) << what;
  EXPECT_EQ(ahead.error, inline_.error) << what;
  EXPECT_EQ(ahead.records, inline_.records) << what;
  EXPECT_EQ(ahead.repairs, inline_.repairs) << what;
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

// A drawing with every section, a record between two of them and what the
// repair looks for in each.
std::string everySection() {
  return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n"
         "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n5\n2\n70\n1\n0\nLAYER\n5\n10\n2\n0\n70\n0\n62\n7\n"
         "0\nENDTAB\n0\nENDSEC\n"
         "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n5\n20\n8\n0\n2\nB1\n10\n0\n20\n0\n30\n0\n"
         "0\nLINE\n5\n21\n330\n20\n100\nAcDbEntity\n8\nINBLOCK\n6\nDASHED\n100\nAcDbLine\n10\n1\n"
         "0\nENDBLK\n5\n22\n8\n0\n0\nENDSEC\n"
         "0\nLINE\n5\n23\n8\nBETWEEN\n10\n1\n"  // between sections: kept whole
         "0\nSECTION\n2\nENTITIES\n"
         "0\nLINE\n5\n30\n100\nAcDbEntity\n67\n1\n8\nWALLS\n6\nBYLAYER\n360\nE\n62\n3\n100\nAcDbLine\n"
         "8\nNOTALAYER\n360\nF\n10\n0\n"
         "1001\nAPP\n1000\nnote\n"
         "0\nTEXT\n5\n31\n8\nWALLS\n7\nNOTES\n1\nhello\n"
         "0\nPOLYLINE\n5\n32\n8\n0\n66\n1\n0\nVERTEX\n5\n33\n8\n0\n10\n0\n0\nSEQEND\n5\n34\n8\n0\n"
         "0\nENDSEC\n"
         "0\nSECTION\n2\nOBJECTS\n0\nDICTIONARY\n5\nC\n330\n0\n3\nENTRY\n350\nD\n"
         "0\nXRECORD\n5\nE\n330\n0\n0\nXRECORD\n5\nF\n330\n0\n0\nENDSEC\n0\nEOF\n";
}

TEST(ScanAhead, EverySectionAndItsBrokenVariantsHandTheRepairTheSameTags) {
  const std::string text = everySection();
  ASSERT_TRUE(read(text, kAlwaysAhead).ok);
  // WALLS and INBLOCK, not the layer after the entity's subclass marker; E
  // is owned through the common data, F after it is not.
  EXPECT_EQ(read(text, kAlwaysAhead).repairs,
            "repaired on loading: 2 layer entries added, 1 table count corrected, 1 object given its owner, 1 empty "
            "object added for a dictionary entry.");
  std::string twoNames = text;  // a section is named by the group 2 right after its group 0 alone
  expectSameBothWays(twoNames.replace(twoNames.find("2\nOBJECTS\n"), 10, "2\nOBJECTS\n2\nENTITIES\n"), "two names");
  // The scanner follows the sections on its own to drop tags early: tags
  // dropped, repeated, swapped or renamed into frame records must not lead
  // it astray.
  std::vector<std::string> tags;  // a tag's two lines each
  for (size_t at = 0; at < text.size(); at = text.find('\n', text.find('\n', at) + 1) + 1)
    tags.push_back(text.substr(at, text.find('\n', text.find('\n', at) + 1) + 1 - at));
  const char* names[] = {"SECTION", "ENDSEC", "EOF", "ENTITIES", "BLOCKS", "OBJECTS", "TABLES", "LINE"};
  std::mt19937 random(11);
  for (int round = 0; round < 400 && !HasFailure(); ++round) {
    auto changed = tags;
    for (int edits = 1 + round % 3; edits > 0; --edits) {
      size_t at = random() % changed.size(), other = random() % changed.size();
      switch (random() % 4) {
        case 0: changed.erase(changed.begin() + static_cast<std::ptrdiff_t>(at)); break;
        case 1: changed.insert(changed.begin() + static_cast<std::ptrdiff_t>(at), changed[other]); break;
        case 2: std::swap(changed[at], changed[other]); break;
        default: changed[at] = changed[at].substr(0, changed[at].find('\n') + 1) + names[random() % 8] + "\n";
      }
    }
    std::string variant;
    for (const std::string& tag : changed) variant += tag;
    expectSameBothWays(variant, "round " + std::to_string(round));
  }
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
