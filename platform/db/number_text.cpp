// Parsing and formatting of numbers in drawing-file values.
#include "db/number_text.h"

#include <charconv>
#include <cmath>

namespace db {
namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.size() > 1 && text.front() == '+') text.remove_prefix(1);
  return text;
}

// A handle as other writers may put it: padded, signed, lower case.
uint64_t parsePaddedHandle(std::string_view text) {
  text = trimmed(text);
  if (text.empty()) return 0;
  size_t first = text.find_first_not_of('0');
  if (first == std::string_view::npos) return 0;
  if (text.size() - first > 16) return 0;  // more than 64 bits
  uint64_t value = 0;
  for (char c : text.substr(first)) {
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
    else return 0;
    value = value << 4 | digit;
  }
  return value;
}

}  // namespace

bool parseReal(std::string_view text, double& value) {
  return parsePlainDecimal(text, value) || parseRealPastPlain(text, value);
}

bool parseRealPastPlain(std::string_view text, double& value) {
  std::string_view plain = trimmed(text);
  // Padding off, it may be plain after all.
  if (plain.size() != text.size() && parsePlainDecimal(plain, value)) return true;
  const char* end = plain.data() + plain.size();
  auto [ptr, ec] = std::from_chars(plain.data(), end, value);
  return ec == std::errc() && ptr == end && !plain.empty() && std::isfinite(value);
}

bool isRealText(std::string_view text) {
  std::string_view plain = trimmed(text);
  size_t i = 0, digits = 0, leading = 0;
  if (i < plain.size() && plain[i] == '-') ++i;
  for (; i < plain.size() && plain[i] >= '0' && plain[i] <= '9'; ++i) ++leading;
  digits = leading;
  if (i < plain.size() && plain[i] == '.')
    for (++i; i < plain.size() && plain[i] >= '0' && plain[i] <= '9'; ++i) ++digits;
  // Plain decimals of modest size cannot overflow; anything else (exponents,
  // "nan", "inf", odd text) gets the full parse.
  if (digits > 0 && i == plain.size() && leading < 300) return true;
  double value = 0;
  return parseReal(text, value);
}

bool parseInteger(std::string_view text, int64_t& value) {
  text = trimmed(text);
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec == std::errc() && ptr == end && !text.empty()) return true;
  // Some writers put integers as reals ("1.0"); they count by their whole part.
  double real = 0;
  if (!parseReal(text, real) || !(std::fabs(real) < 9.2e18)) return false;
  value = static_cast<int64_t>(real);
  return true;
}

std::string formatReal(double value) {
  char buffer[64];
  auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, ptr);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

std::string formatInteger(int64_t value) {
  char buffer[32];
  auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, ptr);
}

uint64_t parseHandle(std::string_view text) {
  // Every record has a handle: read by hand, it costs a fraction of the
  // general conversion. Writers put it as bare upper-case digits, taken
  // first in one pass; anything else goes the padded way.
  if (!text.empty() && text.size() <= 16) {
    uint64_t value = 0;
    for (char c : text) {
      auto digit = static_cast<unsigned char>(c - '0');
      if (digit > 9) {
        digit = static_cast<unsigned char>(c - 'A');
        if (digit > 5) return parsePaddedHandle(text);
        digit += 10;
      }
      value = value << 4 | digit;
    }
    return value;
  }
  return parsePaddedHandle(text);
}

std::string formatHandle(uint64_t handle) {
  char buffer[32];
  auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, handle, 16);
  std::string text(buffer, ptr);
  for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
  return text;
}

std::string hexOfBytes(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  return text;
}

bool bytesOfHex(std::string_view hex, std::string& bytes) {
  auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  bytes.clear();
  if (hex.size() % 2 != 0) return false;
  for (size_t i = 0; i < hex.size(); i += 2) {
    int high = digit(hex[i]), low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes += static_cast<char>(high * 16 + low);
  }
  return true;
}

}  // namespace db
