#include "wrl_number.h"

#include <charconv>
#include <cmath>
#include <cstring>

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
  std::memcpy(out, kDigitPairs + 2 * value, 2);
  return out + 2;
}

// "000" to "999", each in four bytes: the six digits of a fraction are two
// loads and two stores, the fourth byte of the first overwritten by the
// second, and that of the second left past the end (the caller gives room).
struct DigitTriples {
  char text[1000][4] = {};
  constexpr DigitTriples() {
    for (int i = 0; i < 1000; ++i) {
      text[i][0] = static_cast<char>('0' + i / 100);
      text[i][1] = static_cast<char>('0' + i / 10 % 10);
      text[i][2] = static_cast<char>('0' + i % 10);
    }
  }
};
constexpr DigitTriples kDigitTriples;

// Below a million.
[[gnu::always_inline]] inline char* sixDigits(char* out, uint32_t value) {
  uint32_t high = value / 1000;
  std::memcpy(out, kDigitTriples.text[high], 4);
  std::memcpy(out + 3, kDigitTriples.text[value - high * 1000], 4);
  return out + 6;
}

// From 100 to 9999, without a leading zero: a large drawing's coordinates
// run to thousands.
char* threeOrFourDigits(char* out, uint32_t value) {
  uint32_t high = value / 100;
  if (high < 10) *out++ = static_cast<char>('0' + high);
  else out = twoDigits(out, high);
  return twoDigits(out, value - high * 100);
}

// The general conversions, out of line: the common case then saves no
// registers for them. A whole part of three digits or more, and any value.
[[gnu::noinline]] char* longFixed6(char* out, uint64_t whole, uint32_t fraction) {
  if (whole < 10000) out = threeOrFourDigits(out, static_cast<uint32_t>(whole));
  else out = std::to_chars(out, out + kMaxFixedChars, whole).ptr;
  *out++ = '.';
  return sixDigits(out, fraction);
}

[[gnu::noinline]] char* anyFixed6(char* out, double value) {
  return std::to_chars(out, out + kMaxFixedChars, value, std::chars_format::fixed, 6).ptr;
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
    auto fraction = static_cast<uint32_t>(millionths - whole * 1000000);
    if (whole >= 100) return longFixed6(out, whole, fraction);
    if (whole < 10) *out++ = static_cast<char>('0' + whole);
    else out = twoDigits(out, static_cast<uint32_t>(whole));
    *out++ = '.';
    return sixDigits(out, fraction);
  }
  return anyFixed6(out, value);
}

char* integer(char* out, int32_t value) {
  // Mostly a face's point numbers, small and never negative.
  if (value >= 0 && value < 100) {
    if (value < 10) {
      *out = static_cast<char>('0' + value);
      return out + 1;
    }
    return twoDigits(out, static_cast<uint32_t>(value));
  }
  if (value >= 0 && value < 10000) return threeOrFourDigits(out, static_cast<uint32_t>(value));
  return std::to_chars(out, out + kMaxIntChars, value).ptr;
}

}  // namespace wrl_number
