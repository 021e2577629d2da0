// Number text of drawing files: the quick validity check agrees with the
// full parse, and formatted reals read back exactly.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "db/number_text.h"

namespace {

TEST(NumberText, QuickCheckAgreesWithTheFullParse) {
  const std::string texts[] = {"1.5",
                               "-0.5",
                               ".5",
                               "5.",
                               "-",
                               ".",
                               "1e5",
                               "1e999",
                               " 2.0 ",
                               "+3",
                               "1.2.3",
                               "nan",
                               "-inf",
                               "0x10",
                               "",
                               "--1",
                               "1 2",
                               "1e",
                               "-.",
                               "7",
                               "INF",
                               "1.0e-400",
                               std::string(400, '9'),
                               std::string(299, '9')};
  for (const std::string& text : texts) {
    double value = 0;
    EXPECT_EQ(db::isRealText(text), db::parseReal(text, value)) << '"' << text << '"';
  }
}

// What the general conversion makes of a text, bit for bit.
bool generalRead(const std::string& text, uint64_t& bits) {
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  std::memcpy(&bits, &value, sizeof bits);
  return true;
}

std::string randomDigits(std::mt19937_64& random, size_t length) {
  std::string run;
  for (size_t i = 0; i < length; ++i) run += static_cast<char>('0' + random() % 10);
  return run;
}

TEST(NumberText, PlainDecimalsReadToTheSameDoubleAsTheGeneralConversion) {
  std::mt19937_64 random(11);
  auto digitRun = [&](int length) { return randomDigits(random, static_cast<size_t>(length)); };
  int taken = 0;
  for (int i = 0; i < 200000; ++i) {
    // Every split of up to 21 digits around the point, signs, leading zeros.
    int whole = static_cast<int>(random() % 17), fraction = static_cast<int>(random() % 24);
    std::string text = (random() % 2 ? "-" : "") + digitRun(whole);
    if (fraction || random() % 2) text += "." + digitRun(fraction);
    double ours = 0;
    uint64_t general = 0, mine = 0;
    bool generalOk = generalRead(text, general);
    if (!db::parsePlainDecimal(text, ours)) continue;
    ++taken;
    std::memcpy(&mine, &ours, sizeof mine);
    ASSERT_TRUE(generalOk) << text;
    ASSERT_EQ(mine, general) << text;
  }
  EXPECT_GT(taken, 60000) << "the quick way is taken, so the comparison is not empty";
  // At the edges of what the quick way takes, and just past them.
  for (std::string text : {"9007199254740992",
                           "9007199254740993",
                           "-9007199254740992.0",
                           "0.0000000000000000000001",
                           "0.00000000000000000000001",
                           "1234567890123456789",
                           "12345678901234567890",
                           "-0",
                           "-0.0",
                           "00000000000000000001.5",
                           ".5",
                           "5.",
                           "-.25",
                           "0.1",
                           "0.3",
                           "123456.789012",
                           "1e5",
                           "",
                           "-",
                           ".",
                           "-.",
                           "1.2.3",
                           "1-",
                           "+1",
                           " 1",
                           "1 ",
                           "nan",
                           "0x10"}) {
    double ours = 0;
    uint64_t general = 0, mine = 0;
    bool generalOk = generalRead(text, general);
    if (db::parsePlainDecimal(text, ours)) {
      std::memcpy(&mine, &ours, sizeof mine);
      EXPECT_TRUE(generalOk && mine == general) << '"' << text << '"';
    }
  }
  double value = 0;
  EXPECT_TRUE(db::parsePlainDecimal("9007199254740992", value));
  EXPECT_FALSE(db::parsePlainDecimal("9007199254740993", value)) << "not exact as a double";
  EXPECT_FALSE(db::parsePlainDecimal("0.00000000000000000001", value)) << "21 digits";
  EXPECT_TRUE(db::parsePlainDecimal(".0000000000000000001", value));
  EXPECT_EQ(value, 1e-19);
  EXPECT_FALSE(db::parsePlainDecimal("12345678901234567890", value)) << "20 digits";
  EXPECT_TRUE(db::parsePlainDecimal("-0.0", value));
  EXPECT_TRUE(std::signbit(value));
  for (const char* other : {"1e5", "", "-", ".", "-.", "1.2.3", "+1", " 1", "nan"})
    EXPECT_FALSE(db::parsePlainDecimal(other, value)) << '"' << other << '"';
}

// Digits are read a word at a time: a value is read from its own bytes only,
// whatever digits stand around it, at every length and place of the point.
TEST(NumberText, PlainDecimalsInsideLongerTextReadOnlyTheirOwnDigits) {
  std::mt19937_64 random(5);
  auto digitRun = [&](size_t length) { return randomDigits(random, length); };
  int taken = 0;
  for (size_t length = 1; length <= 20; ++length) {
    for (size_t point = 0; point <= length + 1; ++point) {  // length + 1: no point
      for (int trial = 0; trial < 40; ++trial) {
        std::string digits = digitRun(length);
        if (trial % 4 == 1) digits[0] = '0';  // leading zeros
        if (trial % 8 == 3) digits = std::string(length, '0');
        std::string text = (trial % 2 ? "-" : "") + digits;
        if (point <= length) text.insert(text.size() - length + point, ".");
        // Digits before and after the value, so a read past its ends changes it.
        size_t before = random() % 10;
        std::string around = digitRun(before) + text + digitRun(random() % 10);
        std::string_view view = std::string_view(around).substr(before, text.size());
        uint64_t whole = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), whole);
        bool expected = length <= 19 && whole <= (uint64_t(1) << 53);
        double ours = 0;
        ASSERT_EQ(db::parsePlainDecimal(view, ours), expected) << '"' << text << '"';
        if (!expected) continue;
        ++taken;
        uint64_t general = 0, mine = 0;
        ASSERT_TRUE(generalRead(text, general)) << text;
        std::memcpy(&mine, &ours, sizeof mine);
        ASSERT_EQ(mine, general) << '"' << text << '"';
      }
    }
  }
  EXPECT_GT(taken, 6000) << "most values are taken, so the comparison is not empty";
  // Refused inside longer text as alone: a second point, a sign or space
  // within, the run cut short by a letter at each place.
  for (std::string bad : {"12.34.5", "1-2", "123 4", "1234567.8-", "-12345678.9x", "+12345678.9", "12.4567.9",
                          "1234.678.", "-1234.678x", "1234.67\n8"}) {
    std::string around = "9" + bad + "9";
    double value = 0;
    EXPECT_FALSE(db::parsePlainDecimal(std::string_view(around).substr(1, bad.size()), value)) << bad;
  }
  std::string letters = "1234567890123456";
  for (size_t at = 0; at < letters.size(); ++at) {
    std::string bad = letters;
    bad[at] = 'a';
    double value = 0;
    EXPECT_FALSE(db::parsePlainDecimal(bad, value)) << bad;
    bad[at] = '/';  // just below '0'
    EXPECT_FALSE(db::parsePlainDecimal(bad, value)) << bad;
    bad[at] = ':';  // just above '9'
    EXPECT_FALSE(db::parsePlainDecimal(bad, value)) << bad;
  }
}

// Six decimals after one or two digits, as most writers print reals, are
// read with the point at its place: each byte of that shape replaced in turn
// gives what the general conversion reads (a point moved or gone), or a
// refusal.
TEST(NumberText, SixDecimalRealsWithAByteReplacedReadAsTheGeneralConversion) {
  int taken = 0;
  for (std::string shape : {"16.500000", "0.500000", "-7.250000", "-42.125000"}) {
    for (size_t at = 0; at < shape.size(); ++at) {
      for (char other : {'.', '-', '/', ':', ' ', 'e', '0', '9', '\n'}) {
        std::string text = shape;
        text[at] = other;
        double ours = 0;
        uint64_t general = 0, mine = 0;
        if (!db::parsePlainDecimal(text, ours)) continue;
        ++taken;
        ASSERT_TRUE(generalRead(text, general)) << '"' << text << '"';
        std::memcpy(&mine, &ours, sizeof mine);
        EXPECT_EQ(mine, general) << '"' << text << '"';
      }
    }
  }
  EXPECT_GT(taken, 60) << "digits replaced by digits are read";
}

TEST(NumberText, FormattedRealsReadBackBitForBit) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    std::string text = db::formatReal(value);
    double back = 0;
    ASSERT_TRUE(db::parseReal(text, back)) << text;
    ASSERT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text;
    ASSERT_NE(text.find_first_of(".e"), std::string::npos) << text;
  }
  EXPECT_EQ(db::formatReal(2), "2.0");
}

TEST(NumberText, IntegersMayBeWrittenAsReals) {
  int64_t value = 0;
  EXPECT_TRUE(db::parseInteger("  42 ", value));
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(db::parseInteger("1.0", value));
  EXPECT_EQ(value, 1);
  EXPECT_FALSE(db::parseInteger("red", value));
  EXPECT_FALSE(db::parseInteger("1e300", value));
  EXPECT_EQ(db::formatHandle(0x1F), "1F");
}

TEST(NumberText, HandlesAreHexOrNothing) {
  EXPECT_EQ(db::parseHandle("1f"), 0x1Fu);
  EXPECT_EQ(db::parseHandle(" 2A3B "), 0x2A3Bu);
  EXPECT_EQ(db::parseHandle("FFFFFFFFFFFFFFFF"), UINT64_MAX);
  EXPECT_EQ(db::parseHandle("0000000000000000001F"), 0x1Fu) << "leading zeros are no overflow";
  EXPECT_EQ(db::parseHandle("10000000000000000"), 0u) << "more than 64 bits";
  for (const char* bad : {"", "   ", "0", "0x1F", "-1", "1G", "1 F", "\t"})
    EXPECT_EQ(db::parseHandle(bad), 0u) << "'" << bad << "'";
  EXPECT_EQ(db::parseHandle("+1F"), 0x1Fu);
  EXPECT_EQ(db::parseHandle("00000000000000000"), 0u) << "17 zeros";
}

// Every byte after a digit: hex digits of either case count, padding is
// trimmed, anything else makes no handle.
TEST(NumberText, HandleDigitsOfEveryByte) {
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    uint64_t expected = 0;
    if (c >= '0' && c <= '9') expected = 0x10u + static_cast<uint64_t>(c - '0');
    else if (c >= 'A' && c <= 'F') expected = 0x1Au + static_cast<uint64_t>(c - 'A');
    else if (c >= 'a' && c <= 'f') expected = 0x1Au + static_cast<uint64_t>(c - 'a');
    else if (c == ' ' || c == '\t') expected = 1;
    EXPECT_EQ(db::parseHandle(std::string{'1', c}), expected) << "byte " << byte;
    const uint64_t sixteenth = expected > 1 ? (UINT64_MAX << 4 | (expected & 0xF)) : expected ? UINT64_MAX >> 4 : 0;
    EXPECT_EQ(db::parseHandle(std::string(15, 'F') + c), sixteenth) << "byte " << byte << " as the sixteenth digit";
  }
}

}  // namespace
