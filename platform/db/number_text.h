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
// conversion.
bool parsePlainDecimal(std::string_view text, double& value);
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
