// Parsing and formatting of numbers in drawing-file values.
#include "db/number_text.h"

#include <charconv>
#include <cmath>

namespace acdb_detail {
namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.size() > 1 && text.front() == '+') text.remove_prefix(1);
  return text;
}

}  // namespace

bool parseReal(std::string_view text, double& value) {
  text = trimmed(text);
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty() && std::isfinite(value);
}

bool parseInteger(std::string_view text, int64_t& value) {
  text = trimmed(text);
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty();
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
  text = trimmed(text);
  uint64_t value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value, 16);
  return (ec == std::errc() && ptr == end) ? value : 0;
}

std::string formatHandle(uint64_t handle) {
  char buffer[32];
  auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, handle, 16);
  std::string text(buffer, ptr);
  for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
  return text;
}

}  // namespace acdb_detail
