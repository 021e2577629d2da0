// Values of an entity's tags, parsed from their text. A value that is
// present but not a finite number marks the reader invalid, so that the
// facetter refuses the entity instead of guessing.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "entity_view.h"
#include "geometry.h"

namespace render {

class TagReader {
 public:
  explicit TagReader(TagSpan tags) : m_tags(tags) {}

  // The first value of `code`, or `fallback` when the code is absent.
  double real(int code, double fallback = 0.0);
  int64_t integer(int code, int64_t fallback = 0);
  std::string_view text(int code) const;
  // A point from `code`, code + 10 and code + 20.
  Vec3 point(int code, const Vec3& fallback = {});
  // Where a point's coordinates stand: each its code's first value.
  struct PointTags {
    const db::TagView* axes[3] = {nullptr, nullptr, nullptr};
  };
  // The points of consecutive codes from `code` (10 to 13: a face's
  // corners), found in one pass over the tags; at most ten.
  void findPoints(int code, std::span<PointTags> found) const;
  Vec3 pointOf(const PointTags& found, const Vec3& fallback = {});
  bool has(int code) const;
  // The extrusion direction (210), world Z when absent.
  Vec3 extrusion() { return point(210, {0, 0, 1}); }

  bool valid() const { return m_valid; }
  void invalidate() { m_valid = false; }

  // Parsers for one value, shared with readers that walk repeated codes.
  static bool parseReal(std::string_view text, double& value);
  static bool parseInteger(std::string_view text, int64_t& value);

 private:
  const db::TagView* find(int code) const;
  // The value of `tag`, or `fallback` when there is none.
  double realOf(const db::TagView* tag, double fallback);

  TagSpan m_tags;
  bool m_valid = true;
};

}  // namespace render
