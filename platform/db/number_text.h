// Numbers as drawing files write them: parsing that tolerates the padding
// other programs put around values, and formatting that reads back exactly.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "db/digit_words.h"

namespace db {

// A finite real; false for anything else (text, "nan", "inf", 1e999).
bool parseReal(std::string_view text, double& value);
// The same for text parsePlainDecimal refused as it stands (padded, an
// exponent, more digits than a double holds): it is not tried again.
bool parseRealPastPlain(std::string_view text, double& value);
// Its common case, quickly: a plain decimal ("-12.345", no exponent, no
// padding) of at most 19 digits, read to the same double as the general
// conversion gives. False for any other text, which then needs the general
// conversion. Inline: every coordinate of every entity comes through here.
namespace number_detail {

// Digits that make an integer a double holds exactly, divided once by an
// exact power of ten: correctly rounded, so the nearest double.
inline bool exactDecimal(uint64_t digits, size_t fraction, bool negative, double& value) {
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                            1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
  if (digits > (uint64_t(1) << 53)) return false;
  double magnitude = static_cast<double>(digits) / kPowersOfTen[fraction];
  value = negative ? -magnitude : magnitude;
  return true;
}

// A plain decimal after its sign, a character at a time. Unsigned
// arithmetic: a run too long to count wraps harmlessly and is refused by its
// length.
inline bool parseDigitByDigit(const char* at, const char* end, bool negative, double& value) {
  uint64_t digits = 0;
  const char* point = nullptr;
  for (const char* p = at; p != end; ++p) {
    auto digit = static_cast<unsigned char>(*p - '0');
    if (digit < 10) digits = digits * 10 + digit;
    else if (*p == '.' && !point) point = p;
    else return false;
  }
  size_t fraction = point ? static_cast<size_t>(end - point - 1) : 0;
  size_t count = static_cast<size_t>(end - at) - (point ? 1 : 0);
  if (count == 0 || count > 19) return false;
  return exactDecimal(digits, fraction, negative, value);
}

// The most common coordinates ("0.500000", "-12.250000"): eight digits or
// fewer and a point, eight characters or more in all, in one word. The
// point is taken out, the bytes after it moving down, which leaves the
// digits; a ninth character comes in at the top.
inline bool parseWordPlainDecimal(const char* at, const char* end, bool negative, double& value) {
  using namespace digit_words;
  size_t count = static_cast<size_t>(end - at), fraction = 0;
  uint64_t digits = (count <= 8 ? lastBytesFrom(at, end) : firstEight(at)) ^ kEach('0');
  if (uint64_t point = zeroBytes(digits ^ kEach('.' ^ '0'))) {
    int place = std::countr_zero(point) / 8;
    digits = withoutByte(digits, place);
    if (count == 9) digits |= uint64_t(static_cast<unsigned char>(at[8] ^ '0')) << 56;
    fraction = count - 1 - static_cast<size_t>(place);
    --count;
  } else if (count == 9) {
    return parseDigitByDigit(at, end, negative, value);
  }
  // The digits moved to the top bytes, zeros (leading zeros) below them.
  digits <<= 8 * (8 - count);
  if (notDigits(digits)) return false;
  return exactDecimal(valueOfEight(digits), fraction, negative, value);
}

// Reals as most writers print them by default, six decimals after one or
// two digits ("0.500000", "16.500000"): the point has its place, so the
// digits are gathered without looking for it. False for any other text,
// which the general word path then reads.
inline bool parseSixDecimals(const char* at, const char* end, bool negative, double& value) {
  using namespace digit_words;
  // A digit, the point and six digits, the first byte the lowest.
  const uint64_t last = firstEight(end - 8) ^ kEach('0');
  if ((last >> 8 & 0xFF) != ('.' ^ '0')) return false;
  // The point's byte takes the digit before it, the lowest the one before
  // that, if any (zero, a leading zero, when not).
  const uint64_t tens = end - at == 9 ? static_cast<unsigned char>(*at ^ '0') : 0;
  const uint64_t digits = (last & ~uint64_t(0xFFFF)) | (last & 0xFF) << 8 | tens;
  if (notDigits(digits)) return false;
  // At most eight digits: exact as a double, divided once, as exactDecimal does.
  const double magnitude = static_cast<double>(static_cast<int64_t>(valueOfEight(digits))) / 1e6;
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace number_detail

inline bool parsePlainDecimal(std::string_view text, double& value) {
  const char* begin = text.data();
  const char* at = begin;
  const char* end = at + text.size();
  bool negative = at != end && *at == '-';
  if (negative) ++at;
  if (end - begin >= 8 && end - at <= 9) {
    if (end - at >= 8 && number_detail::parseSixDecimals(at, end, negative, value)) return true;
    return number_detail::parseWordPlainDecimal(at, end, negative, value);
  }
  return number_detail::parseDigitByDigit(at, end, negative, value);
}

// An integer written as a sign and at most eighteen digits, nothing around
// them (flags, colours, vertex numbers), which cannot overflow; false for
// any other text, which then needs the general conversion. Inline: it is
// most integers of a drawing.
inline bool parsePlainInteger(std::string_view text, int64_t& value) {
  const char* at = text.data();
  const char* end = at + text.size();
  bool negative = at != end && *at == '-';
  if (negative) ++at;
  if (at == end || end - at > 18) return false;
  int64_t number = 0;
  for (; at != end; ++at) {
    auto digit = static_cast<unsigned char>(*at - '0');
    if (digit > 9) return false;
    number = number * 10 + digit;
  }
  value = negative ? -number : number;
  return true;
}

// The same verdict as parseReal without computing the value (the common
// plain decimal forms are checked by their characters alone).
bool isRealText(std::string_view text);
// A whole number in the range of int64; a real counts by its whole part.
bool parseInteger(std::string_view text, int64_t& value);
// Shortest text that reads back as the same double, always with a decimal
// point or exponent so that readers take it for a real.
std::string formatReal(double value);
std::string formatInteger(int64_t value);
// Handle text (hex) to number; 0 when it is not one.
uint64_t parseHandle(std::string_view text);
std::string formatHandle(uint64_t handle);
// Binary chunks as drawing files write them in text: two hex digits a byte.
std::string hexOfBytes(std::string_view bytes);
// False when the text is not an even run of hex digits.
bool bytesOfHex(std::string_view hex, std::string& bytes);

}  // namespace db
