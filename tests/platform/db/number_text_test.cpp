// Number text of drawing files: the quick validity check agrees with the
// full parse, and formatted reals read back exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "db/number_text.h"

namespace {

TEST(NumberText, QuickCheckAgreesWithTheFullParse) {
  const std::string texts[] = {"1.5",  "-0.5", ".5",   "5.",      "-",   ".",     "1e5",  "1e999", " 2.0 ",
                               "+3",   "1.2.3", "nan", "-inf",    "0x10", "",     "--1",  "1 2",   "1e",
                               "-.",   "7",    "INF",  "1.0e-400", std::string(400, '9'), std::string(299, '9')};
  for (const std::string& text : texts) {
    double value = 0;
    EXPECT_EQ(acdb_detail::isRealText(text), acdb_detail::parseReal(text, value)) << '"' << text << '"';
  }
}

TEST(NumberText, FormattedRealsReadBackBitForBit) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    std::string text = acdb_detail::formatReal(value);
    double back = 0;
    ASSERT_TRUE(acdb_detail::parseReal(text, back)) << text;
    ASSERT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text;
    ASSERT_NE(text.find_first_of(".e"), std::string::npos) << text;
  }
  EXPECT_EQ(acdb_detail::formatReal(2), "2.0");
}

TEST(NumberText, IntegersMayBeWrittenAsReals) {
  int64_t value = 0;
  EXPECT_TRUE(acdb_detail::parseInteger("  42 ", value));
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(acdb_detail::parseInteger("1.0", value));
  EXPECT_EQ(value, 1);
  EXPECT_FALSE(acdb_detail::parseInteger("red", value));
  EXPECT_FALSE(acdb_detail::parseInteger("1e300", value));
  EXPECT_EQ(acdb_detail::formatHandle(0x1F), "1F");
}

TEST(NumberText, HandlesAreHexOrNothing) {
  EXPECT_EQ(acdb_detail::parseHandle("1f"), 0x1Fu);
  EXPECT_EQ(acdb_detail::parseHandle(" 2A3B "), 0x2A3Bu);
  EXPECT_EQ(acdb_detail::parseHandle("FFFFFFFFFFFFFFFF"), UINT64_MAX);
  EXPECT_EQ(acdb_detail::parseHandle("0000000000000000001F"), 0x1Fu) << "leading zeros are no overflow";
  EXPECT_EQ(acdb_detail::parseHandle("10000000000000000"), 0u) << "more than 64 bits";
  for (const char* bad : {"", "   ", "0", "0x1F", "-1", "1G", "1 F", "\t"})
    EXPECT_EQ(acdb_detail::parseHandle(bad), 0u) << "'" << bad << "'";
}

}  // namespace
