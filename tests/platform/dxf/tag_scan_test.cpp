// The scanner that finds a text drawing's lines in bulk takes and refuses the
// same tags, at the same lines, as reading the text a tag at a time.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "dxf/tag_scan.h"

namespace {

// What a scan found: each tag, then why it stopped and where.
std::string stopAt(db::TagProblem problem, int16_t code, std::string_view line, size_t lineNumber) {
  const bool hasLine = problem == db::TagProblem::BadCode || problem == db::TagProblem::BadValue;
  return "| stop " + std::to_string(static_cast<int>(problem)) + " code " +
         std::to_string(problem == db::TagProblem::NoValue || problem == db::TagProblem::BadValue ? code : 0) + " \"" +
         std::string(hasLine ? line : std::string_view()) + "\" after " + std::to_string(lineNumber);
}

// One tag at a time, as the reader of records kept in the text does.
std::string referenceScan(const std::string& text) {
  std::string found;
  const char* at = text.data();
  size_t line = 0;
  int16_t code = 0;
  std::string_view value, bad;
  db::TagProblem problem = db::TagProblem::None;
  while (at < text.data() + text.size() &&
         (problem = db::readTag(at, text.data() + text.size(), code, value, bad)) == db::TagProblem::None) {
    line += 2;
    found += std::to_string(code) + "=" + std::string(value) + "@" + std::to_string(line - 1) + " ";
  }
  return found + stopAt(problem, code, bad, line);
}

std::string bulkScan(const std::string& text) {
  std::string found;
  const char* at = text.data();
  dxf::ScanStop stop =
      dxf::scanTags(at, at + text.size(), 0, [&](int16_t code, std::string_view value, size_t line, const char* start) {
        EXPECT_TRUE(value.data() > start && value.data() <= start + 8) << "the tag starts at its code line";
        found += std::to_string(code) + "=" + std::string(value) + "@" + std::to_string(line) + " ";
        return true;
      });
  return found + stopAt(stop.problem, stop.code, stop.line, stop.lineNumber);
}

TEST(TagScan, TakesAndRefusesWhatTheTagReaderDoesOnEveryVariant) {
  const std::string sample =
      "  0\nSECTION\n  2\nENTITIES\n  0\n3DFACE\n  5\n1F\n100\nAcDbEntity\n  8\nWALLS\n 62\n     7\n 10\n0.000000\n"
      " 20\n-12.5\n 30\n1e5\n 11\n.5\n 21\n5.\n 31\n-0.0000000000000001\n1071\n  -42\n  70\n3\n 40\n  7.25  \n"
      "290\n1\n310\n0A1B\n999\ncomment\n  0\nEOF\n";
  ASSERT_EQ(bulkScan(sample), referenceScan(sample));
  // Line ends, numbers and codes of every shape, cut anywhere and with bytes
  // changed, inserted and dropped: both ways must agree on each.
  const char kBytes[] = {'\n', '\r', ' ', '\t', '-', '.', '0', '5', '9', 'e', 'x', '+', '\0', '\xC3'};
  std::mt19937 random(7);
  int refused = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string text;
    for (char c : sample) text += c == '\n' && round % 3 == 1 ? std::string("\r\n") : std::string(1, c);
    for (int edits = round % 4; edits >= 0; --edits) {
      size_t at = random() % text.size();
      switch (random() % 3) {
        case 0: text[at] = kBytes[random() % sizeof kBytes]; break;
        case 1: text.insert(at, 1, kBytes[random() % sizeof kBytes]); break;
        default: text.erase(at, 1); break;
      }
    }
    if (round % 5 == 0) text.resize(random() % text.size());
    const std::string reference = referenceScan(text);
    ASSERT_EQ(bulkScan(text), reference) << "round " << round;
    refused += reference.find("| stop 0 ") == std::string::npos;
  }
  EXPECT_GT(refused, 1000) << "the variants reach the faults";
}

TEST(TagScan, ThreeColumnCodesAreExactlyThePaddedShapes) {
  const std::string bytes = std::string(" 0123456789\t-/:x") + '\0' + '\xFF';
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  int codes = 0;
  for (char c0 : bytes)
    for (char c1 : bytes)
      for (char c2 : bytes) {
        const char at[3] = {c0, c1, c2};
        const bool shaped = digit(c2) && ((c0 == ' ' && (c1 == ' ' || digit(c1))) || (digit(c0) && digit(c1)));
        int16_t code = -1, parsed = -2;
        ASSERT_EQ(db::threeColumnCode(at, code), shaped) << std::string(at, 3);
        if (!shaped) continue;
        ASSERT_TRUE(db::parseCode(std::string_view(at, 3), parsed));
        EXPECT_EQ(code, parsed) << std::string(at, 3);
        ++codes;
      }
  EXPECT_EQ(codes, 10 + 100 + 1000);  // "  d", " dd", "ddd"
}

}  // namespace
