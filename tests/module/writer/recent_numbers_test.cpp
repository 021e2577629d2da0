#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "wrl_recent_numbers.h"

// Values written again come from the kept texts: they must read as when first
// formatted, for values whose bits differ only a little (+0.0 and -0.0),
// values whose place is taken by another, and texts too long to keep.
TEST(RecentNumbers, EveryValueReadsAsFormattedWhetherKeptOrNot) {
  std::vector<double> pool = {0.0,           -0.0,           0.5,
                              -1e-7,         0.0000005,      1e20,
                              -123456789.25, 4398046.511103, std::numeric_limits<double>::infinity(),
                              std::nan(""),  999999.9999995};
  std::mt19937_64 random(77);
  std::uniform_real_distribution<double> coordinate(-5000, 5000);
  while (pool.size() < 3000) pool.push_back(std::round(coordinate(random) * 1000) / 1000);
  auto text = [](char* out, char* end) { return std::string(out, end); };

  WrlRecentNumbers recent;
  char ours[WrlRecentNumbers::kRoom], plain[WrlRecentNumbers::kRoom];
  int failures = 0;
  for (size_t i = 0; i < 200000 && failures < 5; ++i) {
    // The first ones twice each in turn, then a mix with many repeats.
    double value = i < 22 ? pool[i / 2] : pool[random() % (i % 3 == 0 ? pool.size() : 40)];
    std::string got = text(ours, recent.fixed6(ours, value));
    std::string wanted = text(plain, wrl_number::fixed6(plain, value));
    if (got != wanted) ++failures, ADD_FAILURE() << got << " for " << wanted;
  }
  EXPECT_EQ(failures, 0);
}
