// The scanner that finds a text drawing's lines in bulk takes and refuses the
// same tags, at the same lines, as reading the text a tag at a time.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "dxf/tag_scan.h"

namespace {

struct Scan {
  std::vector<std::string> tags;  // code, value and code line of each
  db::TagProblem problem = db::TagProblem::None;
  int16_t code = 0;
  std::string line;
  size_t lineNumber = 0;
  bool operator==(const Scan&) const = default;
};

void PrintTo(const Scan& scan, std::ostream* out) {
  *out << scan.tags.size() << " tags, last " << (scan.tags.empty() ? "" : scan.tags.back()) << ", problem "
       << static_cast<int>(scan.problem) << " code " << scan.code << " line \"" << scan.line << "\" after "
       << scan.lineNumber;
}

std::string describe(int16_t code, std::string_view value, size_t line) {
  return std::to_string(code) + "=" + std::string(value) + "@" + std::to_string(line);
}

// One tag at a time, as the reader of records kept in the text does.
Scan referenceScan(const std::string& text) {
  Scan scan;
  const char* at = text.data();
  const char* end = at + text.size();
  size_t line = 0;
  while (at < end) {
    int16_t code = 0;
    std::string_view value, bad;
    scan.problem = db::readTag(at, end, code, value, bad);
    if (scan.problem != db::TagProblem::None) {
      if (scan.problem != db::TagProblem::BadCode) scan.code = code;
      if (scan.problem != db::TagProblem::NoValue) scan.line = bad;  // the offending line
      break;
    }
    line += 2;
    scan.tags.push_back(describe(code, value, line - 1));
  }
  scan.lineNumber = line;
  return scan;
}

Scan bulkScan(const std::string& text) {
  Scan scan;
  const char* at = text.data();
  dxf::ScanStop stop = dxf::scanTags(at, at + text.size(), 0,
                                     [&](int16_t code, std::string_view value, size_t line, const char* start) {
                                       EXPECT_EQ(value.data() > start && value.data() <= start + 8, true)
                                           << "the code line starts the tag";
                                       scan.tags.push_back(describe(code, value, line));
                                       return true;
                                     });
  scan.problem = stop.problem;
  if (stop.problem != db::TagProblem::BadCode) scan.code = stop.code;
  if (stop.problem != db::TagProblem::None && stop.problem != db::TagProblem::NoValue) scan.line = stop.line;
  scan.lineNumber = stop.lineNumber;
  return scan;
}

const std::string kSample =
    "  0\nSECTION\n  2\nENTITIES\n  0\n3DFACE\n  5\n1F\n330\n1A\n100\nAcDbEntity\n  8\nWALLS\n 62\n     7\n"
    " 10\n0.000000\n 20\n-12.5\n 30\n1e5\n 11\n.5\n 21\n5.\n 31\n-0.0000000000000001\n1071\n  -42\n"
    "  70\n3\n 40\n  7.25  \n290\n1\n310\n0A1B\n999\ncomment\n  0\nENDSEC\n  0\nEOF\n";

TEST(TagScan, TakesAndRefusesWhatTheTagReaderDoesOnEveryVariant) {
  EXPECT_EQ(bulkScan(kSample), referenceScan(kSample));
  EXPECT_EQ(bulkScan(kSample).tags.size(), 22u);
  // Line ends, numbers and codes of every shape, cut anywhere and with bytes
  // changed: both ways must agree on each.
  const char kBytes[] = {'\n', '\r', ' ', '\t', '-', '.', '0', '5', '9', 'e', 'x', '+', '\0', '\xC3'};
  std::mt19937 random(7);
  int refused = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string text = kSample;
    if (round % 3 == 1) {
      std::string crlf;
      for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
      text = crlf;
    }
    for (int edits = round % 4; edits >= 0; --edits) {
      size_t at = random() % text.size();
      switch (random() % 3) {
        case 0: text[at] = kBytes[random() % sizeof kBytes]; break;
        case 1: text.insert(at, 1, kBytes[random() % sizeof kBytes]); break;
        default: text.erase(at, 1); break;
      }
    }
    if (round % 5 == 0) text.resize(random() % text.size());
    Scan bulk = bulkScan(text), reference = referenceScan(text);
    ASSERT_EQ(bulk, reference) << "round " << round << ": " << text;
    refused += reference.problem != db::TagProblem::None;
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

TEST(TagScan, PlainNumbersAreOnlyThoseTheFullCheckTakes) {
  const std::string padding(16, '\n');
  for (std::string value : {"0", "-1", "0.5", "-.5", "5.", "1234567890123456", "-123456789012345"}) {
    std::string text = value + padding;
    EXPECT_TRUE(dxf::plainNumber(db::ValueKind::Double, std::string_view(text).substr(0, value.size()),
                                 text.data() + text.size()))
        << value;
  }
  for (std::string value : {"", ".", "-", "1.2.3", "1-2", "--1", "+1", " 1", "1e5", "12345678901234567", "nan"}) {
    std::string text = value + padding;
    EXPECT_FALSE(dxf::plainNumber(db::ValueKind::Double, std::string_view(text).substr(0, value.size()),
                                  text.data() + text.size()))
        << value;
  }
  std::string integer = "12.5" + padding;
  EXPECT_FALSE(dxf::plainNumber(db::ValueKind::Int16, std::string_view(integer).substr(0, 4), &integer.back() + 1));
  // Too near the end of the text to load 16 bytes: left to the full check.
  std::string last = "0.5";
  EXPECT_FALSE(dxf::plainNumber(db::ValueKind::Double, last, last.data() + last.size()));
}

}  // namespace
