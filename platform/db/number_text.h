// Numbers as drawing files write them: parsing that tolerates the padding
// other programs put around values, and formatting that reads back exactly.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace db {

// A finite real; false for anything else (text, "nan", "inf", 1e999).
bool parseReal(std::string_view text, double& value);
// Its common case, quickly: a plain decimal ("-12.345", no exponent, no
// padding) of at most 19 digits, read to the same double as the general
// conversion gives. False for any other text, which then needs the general
// conversion. Inline: every coordinate of every entity comes through here.
inline bool parsePlainDecimal(std::string_view text, double& value) {
  // Digits that make an integer a double holds exactly, divided once by an
  // exact power of ten: correctly rounded, so the nearest double.
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                            1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
  const char* at = text.data();
  const char* end = at + text.size();
  bool negative = at != end && *at == '-';
  if (negative) ++at;
  // One pass over digits and point: coordinates make most of a drawing.
  // Unsigned arithmetic: a run too long to count wraps harmlessly and is
  // refused by its length below.
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
  if (count == 0 || count > 19 || digits > (uint64_t(1) << 53)) return false;
  double magnitude = static_cast<double>(digits) / kPowersOfTen[fraction];
  value = negative ? -magnitude : magnitude;
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
