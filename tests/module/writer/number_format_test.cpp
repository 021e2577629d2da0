#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "wrl_number.h"

namespace {

std::string fixed6(double value) {
  char text[wrl_number::kMaxFixedChars];
  return std::string(text, wrl_number::fixed6(text, value));
}

std::string printed(double value) {
  char text[400];
  int length = std::snprintf(text, sizeof text, "%.6f", value);
  return std::string(text, static_cast<size_t>(length));
}

// Compares with printf in the C locale; returns the number of differences.
int mismatches(double value) {
  std::string ours = fixed6(value);
  std::string reference = printed(value);
  if (ours == reference) return 0;
  ADD_FAILURE() << "bits " << std::hex << std::bit_cast<uint64_t>(value) << ": " << ours << " vs " << reference;
  return 1;
}

class NumberFormat : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_STREQ(std::setlocale(LC_NUMERIC, "C"), "C"); }
};

}  // namespace

TEST_F(NumberFormat, TrickyValuesPrintAsPrintfDoes) {
  const double inf = std::numeric_limits<double>::infinity();
  const double tricky[] = {
      0.0,
      -0.0,
      1.0,
      -1.0,
      0.001,
      0.0394,
      0.1,
      0.2,
      0.3,
      0.7,
      1e20,
      -1e20,
      1e22,
      1e23,
      9007199254740993.0,
      0.0000005,
      -0.0000005,
      0.0000004999999,
      -0.0000001,
      -1e-300,
      0.0000015,
      2.5e-6,
      999999.9999995,
      0.9999995,
      1.0000005,
      123456.1234565,
      std::numeric_limits<double>::max(),
      -std::numeric_limits<double>::max(),
      std::numeric_limits<double>::min(),
      std::numeric_limits<double>::denorm_min(),
      std::numeric_limits<double>::epsilon(),
      inf,
      -inf,
      std::nan(""),
      -std::nan(""),
  };
  for (double value : tricky) mismatches(value);
  EXPECT_EQ(fixed6(-0.0), "-0.000000");
  EXPECT_EQ(fixed6(-0.0000001), "-0.000000");
  EXPECT_EQ(fixed6(0.001), "0.001000");
  EXPECT_EQ(fixed6(-1), "-1.000000");
}

// Values with exactly seven decimals ending in 5 are exact ties in binary.
TEST_F(NumberFormat, ExactHalfwayCasesRoundAsPrintfDoes) {
  int failures = 0;
  for (int64_t i = -200000; i <= 200000 && failures < 5; ++i) failures += mismatches(std::ldexp(double(i), -7));
  for (int64_t i = 1; i <= 100000 && failures < 5; ++i) failures += mismatches(std::ldexp(double(i), -20) + 1024.0);
  EXPECT_EQ(failures, 0);
}

TEST_F(NumberFormat, MillionsOfDrawingSizedValuesPrintAsPrintfDoes) {
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> coordinate(-1e6, 1e6);
  std::uniform_int_distribution<int> exponent(-30, 30);
  int failures = 0;
  for (int i = 0; i < 2000000 && failures < 5; ++i) {
    double value = coordinate(random);
    if (i % 2) value = std::ldexp(value, exponent(random));
    failures += mismatches(value);
  }
  EXPECT_EQ(failures, 0);
}

// Values a hair from a rounding tie of the sixth decimal, and values around
// the size where cheaper formatting gives way to the general one.
TEST_F(NumberFormat, NearTiesAndSizeLimitsPrintAsPrintfDoes) {
  std::mt19937_64 random(4242);
  std::uniform_int_distribution<int64_t> millionths(0, int64_t(1) << 43);
  int failures = 0;
  for (int i = 0; i < 1000000 && failures < 5; ++i) {
    double tie = (double(millionths(random)) + 0.5) / 1e6;
    for (double value : {tie, std::nextafter(tie, 0.0), std::nextafter(tie, 1e300)})
      failures += mismatches(i % 2 ? -value : value);
  }
  const double limit = std::ldexp(1.0, 42) / 1e6;
  for (double value = std::nextafter(limit, 0.0), n = 0; n < 100000 && failures < 5; ++n) {
    failures += mismatches(value) + mismatches(-value);
    value = std::nextafter(value, 1e300);
  }
  EXPECT_EQ(failures, 0);
}

// Every six-digit fraction, beside whole parts of one to four digits and many.
TEST_F(NumberFormat, EveryFractionOfAMillionPrintsAsPrintfDoes) {
  int failures = 0;
  for (double whole : {0.0, -7.0, 42.0, 909.0, -1000.0, -123456.0})
    for (int64_t k = 0; k < 1000000 && failures < 5; ++k) {
      double fraction = double(k) / 1e6;
      failures += mismatches(whole < 0 ? whole - fraction : whole + fraction);
    }
  EXPECT_EQ(failures, 0);
}

// Every whole part up to past the cheaper formatting's bound, both signs.
TEST_F(NumberFormat, EveryWholePartPrintsAsPrintfDoes) {
  int failures = 0;
  for (int whole = 0; whole <= 20000 && failures < 5; ++whole)
    for (double fraction : {0.0, 0.000001, 0.5, 0.999999})
      failures += mismatches(whole + fraction) + mismatches(-(whole + fraction));
  EXPECT_EQ(failures, 0);
}

TEST_F(NumberFormat, RandomBitPatternsPrintAsPrintfDoes) {
  std::mt19937_64 random(77);
  int failures = 0;
  for (int i = 0; i < 300000 && failures < 5; ++i) failures += mismatches(std::bit_cast<double>(random()));
  EXPECT_EQ(failures, 0);
}

TEST_F(NumberFormat, IntegersPrintAsPrintfDoes) {
  std::mt19937 random(5);
  for (int i = 0; i < 100000; ++i) {
    // Half of them from -999 on: the small numbers most lines hold, and
    // those around them.
    int32_t value = i % 2 ? static_cast<int32_t>(random()) : i / 2 - 1000;
    if (i < 3) value = i == 0 ? INT32_MIN : i == 1 ? INT32_MAX : 0;
    char ours[wrl_number::kMaxIntChars];
    char reference[32];
    std::snprintf(reference, sizeof reference, "%d", value);
    ASSERT_EQ(std::string(ours, wrl_number::integer(ours, value)), reference);
  }
}
