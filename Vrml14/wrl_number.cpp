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

// "00" to "99": two digits for one division instead of two.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

char* twoDigits(char* out, uint32_t value) {
  out[0] = kDigitPairs[2 * value];
  out[1] = kDigitPairs[2 * value + 1];
  return out + 2;
}

}  // namespace

char* fixed6(char* out, double value) {
  // A world file is mostly coordinates of modest size: they are written
  // from the whole number of millionths, which is much cheaper than the
  // general conversion. Near-ties, huge values, infinities and NaN take
  // the general one.
  double scaled = std::fabs(value) * 1e6;
  // Below the limit the whole part converts exactly, so it is the floor;
  // converted as signed, which takes one instruction, unsigned many.
  if (scaled < kFastLimit && std::fabs(scaled - static_cast<double>(static_cast<int64_t>(scaled)) - 0.5) > kTieMargin) {
    auto millionths = static_cast<uint64_t>(static_cast<int64_t>(scaled + 0.5));
    if (std::signbit(value)) *out++ = '-';
    uint64_t whole = millionths / 1000000;
    if (whole < 10) *out++ = static_cast<char>('0' + whole);
    else if (whole < 100) out = twoDigits(out, static_cast<uint32_t>(whole));
    else out = std::to_chars(out, out + kMaxFixedChars, whole).ptr;
    *out++ = '.';
    auto fraction = static_cast<uint32_t>(millionths % 1000000);
    out = twoDigits(out, fraction / 10000);
    out = twoDigits(out, fraction / 100 % 100);
    return twoDigits(out, fraction % 100);
  }
  return std::to_chars(out, out + kMaxFixedChars, value, std::chars_format::fixed, 6).ptr;
}

char* integer(char* out, int32_t value) { return std::to_chars(out, out + kMaxIntChars, value).ptr; }

}  // namespace wrl_number
