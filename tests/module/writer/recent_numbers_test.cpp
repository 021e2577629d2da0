#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "wrl_number.h"
#include "wrl_recent_numbers.h"

namespace {

std::string formatted(double value) {
  char text[wrl_number::kMaxFixedChars];
  return std::string(text, wrl_number::fixed6(text, value));
}

// Writes `value` through `recent` into a buffer of guard bytes; the text must
// be the formatter's and nothing past the room it may use be touched.
std::string throughRecent(WrlRecentNumbers& recent, double value) {
  constexpr char kGuard = '#';
  char text[wrl_number::kMaxFixedChars + 16];
  std::memset(text, kGuard, sizeof text);
  char* end = recent.fixed6(text, value);
  size_t length = static_cast<size_t>(end - text);
  size_t used = std::max<size_t>(length + 1, 16);
  for (size_t i = used; i < sizeof text; ++i)
    if (text[i] != kGuard) ADD_FAILURE() << "byte " << i << " written for " << std::string(text, length);
  return std::string(text, length);
}

}  // namespace

// Values written again come from the kept texts: they must read as when first
// formatted, for values whose bits differ only a little (+0.0 and -0.0),
// values whose place is taken by another, and texts too long to keep.
TEST(RecentNumbers, EveryValueReadsAsFormattedWhetherKeptOrNot) {
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> pool = {0.0,           -0.0,           0.5, -0.5, 1e-7,         -1e-7,          0.0000005, 1e20,
                              -123456789.25, 4398046.511103, inf, -inf, std::nan(""), 999999.9999995, 0.001,     12.5};
  std::mt19937_64 random(77);
  std::uniform_real_distribution<double> coordinate(-5000, 5000);
  while (pool.size() < 3000) pool.push_back(std::round(coordinate(random) * 1000) / 1000);

  WrlRecentNumbers recent;
  std::uniform_int_distribution<size_t> pick(0, pool.size() - 1);
  int failures = 0;
  for (int i = 0; i < 200000 && failures < 5; ++i) {
    // The fixed ones first, twice each, then a mix with many repeats.
    double value = i < 32 ? pool[static_cast<size_t>(i / 2)] : pool[pick(random) % (i % 3 == 0 ? pool.size() : 40)];
    std::string got = throughRecent(recent, value);
    if (got != formatted(value)) {
      ++failures;
      ADD_FAILURE() << "value " << value << ": " << got << " vs " << formatted(value);
    }
  }
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(throughRecent(recent, -0.0), "-0.000000");
  EXPECT_EQ(throughRecent(recent, 0.0), "0.000000");
}
