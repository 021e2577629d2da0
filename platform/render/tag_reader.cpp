#include "tag_reader.h"

#include <algorithm>
#include <charconv>

#include "db/number_text.h"

namespace render {

namespace {
std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}
}  // namespace

// The drawing's own reading of a real, once the line end some writers leave
// in a value is off (it trims the rest itself).
bool TagReader::parseReal(std::string_view text, double& value) {
  // Most values are plain decimals with nothing around them: nothing to trim.
  if (db::parsePlainDecimal(text, value)) return true;
  const size_t length = text.size();
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text.size() == length ? db::parseRealPastPlain(text, value) : db::parseReal(text, value);
}

bool TagReader::parseInteger(std::string_view text, int64_t& value) {
  if (db::parsePlainInteger(text, value)) return true;
  text = trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && stop == text.data() + text.size();
}

const db::TagView* TagReader::find(int code) const {
  for (const db::TagView& tag : m_tags)
    if (tag.code == code) return &tag;
  return nullptr;
}

bool TagReader::has(int code) const { return find(code) != nullptr; }

double TagReader::real(int code, double fallback) { return realOf(find(code), fallback); }

double TagReader::realOf(const db::TagView* tag, double fallback) {
  if (!tag) return fallback;
  double value = 0;
  if (!parseReal(tag->value, value)) {
    m_valid = false;
    return fallback;
  }
  return value;
}

int64_t TagReader::integer(int code, int64_t fallback) {
  const db::TagView* tag = find(code);
  if (!tag) return fallback;
  int64_t value = 0;
  if (!parseInteger(tag->value, value)) {
    m_valid = false;
    return fallback;
  }
  return value;
}

std::string_view TagReader::text(int code) const {
  const db::TagView* tag = find(code);
  return tag ? trimmed(tag->value) : std::string_view();
}

Vec3 TagReader::point(int code, const Vec3& fallback) {
  PointTags found[1];
  findPoints(code, found);
  return pointOf(found[0], fallback);
}

// Each code is taken at its first, and the pass ends when all are found.
void TagReader::findPoints(int code, std::span<PointTags> found) const {
  int count = static_cast<int>(std::min<size_t>(found.size(), 10));
  // A bit for each code wanted, counted from `code`: its x, y and z codes.
  const uint32_t wanted = ((1u << count) - 1) * (1u | 1u << 10 | 1u << 20);
  int missing = 3 * count;
  for (const db::TagView& tag : m_tags) {
    auto offset = static_cast<uint32_t>(tag.code - code);
    if (offset >= 30 || !(wanted >> offset & 1)) continue;
    const db::TagView*& axis = found[offset % 10].axes[offset / 10];
    if (axis) continue;
    axis = &tag;
    if (--missing == 0) break;
  }
}

Vec3 TagReader::pointOf(const PointTags& found, const Vec3& fallback) {
  return {realOf(found.axes[0], fallback.x), realOf(found.axes[1], fallback.y), realOf(found.axes[2], fallback.z)};
}

}  // namespace render
