#include "wrl_number.h"

#include <charconv>
#include <cmath>

namespace wrl_number {
namespace {

// Below this the value times a million is within 2^-12 of the exact product,
// so its rounding to a whole number is that of the exact value unless its
// fraction lies within a thousandth of one half.
constexpr double kFastLimit = 4398046511104.0;  // 2^42
constexpr double kTieMargin = 0.001;

}  // namespace

char* fixed6(char* out, double value) {
  // A world file is mostly coordinates of modest size: they are written
  // from the whole number of millionths, which is much cheaper than the
  // general conversion. Near-ties, huge values, infinities and NaN take
  // the general one.
  double scaled = std::fabs(value) * 1e6;
  if (scaled < kFastLimit && std::fabs(scaled - std::floor(scaled) - 0.5) > kTieMargin) {
    auto millionths = static_cast<int64_t>(scaled + 0.5);
    if (std::signbit(value)) *out++ = '-';
    out = std::to_chars(out, out + kMaxFixedChars, millionths / 1000000).ptr;
    *out++ = '.';
    auto fraction = static_cast<int32_t>(millionths % 1000000);
    for (int i = 5; i >= 0; --i) {
      out[i] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    return out + 6;
  }
  return std::to_chars(out, out + kMaxFixedChars, value, std::chars_format::fixed, 6).ptr;
}

char* integer(char* out, int32_t value) { return std::to_chars(out, out + kMaxIntChars, value).ptr; }

}  // namespace wrl_number
