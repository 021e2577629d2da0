// Linear, aligned, diameter and radius dimensions drawn as the parts a
// dimension block holds: lines, filled arrowheads, one centred text.
#include "db/drawing_repair_dimensions.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "db/number_text.h"
#include "db/record_tags.h"

namespace db {
namespace {

struct Point {
  double x = 0, y = 0, z = 0;
  Point operator+(const Point& o) const { return {x + o.x, y + o.y, z + o.z}; }
  Point operator-(const Point& o) const { return {x - o.x, y - o.y, z - o.z}; }
  Point operator*(double k) const { return {x * k, y * k, z * k}; }
  double dot(const Point& o) const { return x * o.x + y * o.y + z * o.z; }
  double length() const { return std::sqrt(dot(*this)); }
  // Unit length, or nothing when too short to have a direction.
  std::optional<Point> unit() const {
    double l = length();
    if (!(l > 1e-12) || !std::isfinite(l)) return std::nullopt;
    return *this * (1 / l);
  }
};

constexpr double kPi = 3.14159265358979323846;

// The point of codes `x`, x+10, x+20 in the tags; nothing when its X or Y
// is absent or not a number.
std::optional<Point> pointOf(std::span<const TagView> tags, int x) {
  std::optional<std::string_view> px = findTag(tags, x), py = findTag(tags, x + 10), pz = findTag(tags, x + 20);
  Point p;
  if (!px || !py || !parseReal(*px, p.x) || !parseReal(*py, p.y)) return std::nullopt;
  if (pz && !parseReal(*pz, p.z)) return std::nullopt;
  return p;
}

void putPoint(std::vector<Tag>& tags, int x, const Point& p) {
  tags.push_back({static_cast<int16_t>(x), formatReal(p.x)});
  tags.push_back({static_cast<int16_t>(x + 10), formatReal(p.y)});
  tags.push_back({static_cast<int16_t>(x + 20), formatReal(p.z)});
}

// Parts are drawn on layer 0 in the colour of the dimension (BYBLOCK).
class Picture {
 public:
  explicit Picture(bool subclasses) : m_subclasses(subclasses) {}

  void line(const Point& from, const Point& to) {
    std::vector<Tag>& tags = begin("LINE", "AcDbLine");
    putPoint(tags, 10, from);
    putPoint(tags, 11, to);
  }
  // A closed filled arrowhead: its tip at `tip`, its base `size` along `direction`.
  void arrow(const Point& tip, const Point& direction, const Point& across, double size) {
    Point base = tip + direction * size, side = across * (size / 6);
    std::vector<Tag>& tags = begin("SOLID", "AcDbTrace");
    putPoint(tags, 10, tip);
    putPoint(tags, 11, base + side);
    putPoint(tags, 12, base - side);
    putPoint(tags, 13, base - side);
  }
  void text(const std::string& value, const Point& middle, double height, double degrees) {
    std::vector<Tag>& tags = begin("TEXT", "AcDbText");
    putPoint(tags, 10, middle);
    tags.push_back({40, formatReal(height)});
    tags.push_back({1, value});
    tags.push_back({50, formatReal(degrees)});
    tags.push_back({72, "1"});
    putPoint(tags, 11, middle);
    if (m_subclasses) tags.push_back({100, "AcDbText"});
    tags.push_back({73, "2"});
  }
  std::vector<PictureEntity> take() { return std::move(m_entities); }

 private:
  std::vector<Tag>& begin(const char* type, const char* subclass) {
    std::vector<Tag>& tags = m_entities.emplace_back(PictureEntity{type, {}}).tags;
    if (m_subclasses) tags.push_back({100, "AcDbEntity"});
    tags.push_back({8, "0"});
    tags.push_back({62, "0"});
    if (m_subclasses) tags.push_back({100, subclass});
    return tags;
  }

  bool m_subclasses;
  std::vector<PictureEntity> m_entities;
};

// The dimension's own text (1) with "<>" standing for the measurement; the
// measurement alone when it has none, nothing when it is a single space.
std::string measuredText(std::span<const TagView> tags, double measurement, int decimals, const char* prefix) {
  char digits[64];
  std::snprintf(digits, sizeof digits, "%s%.*f", prefix, decimals < 0 || decimals > 8 ? 4 : decimals, measurement);
  std::string own(findTag(tags, 1).value_or(""));
  if (own.empty()) return digits;
  if (own == " ") return "";
  size_t at = own.find("<>");
  if (at != std::string::npos) own.replace(at, 2, digits);
  return own;
}

// Text reads from the left or from below, whatever the line's direction.
double readableDegrees(double radians) {
  double degrees = std::fmod(radians * 180 / kPi + 360, 360);
  return degrees > 90.5 && degrees <= 270.5 ? degrees - 180 : degrees;
}

bool linear(std::span<const TagView> tags, bool aligned, const DimensionStyle& style, Picture& picture) {
  std::optional<Point> p1 = pointOf(tags, 13), p2 = pointOf(tags, 14), onLine = pointOf(tags, 10);
  if (!p1 || !p2 || !onLine) return false;
  double angle = 0;
  if (auto rotation = findTag(tags, 50); rotation && !aligned) {
    if (!parseReal(*rotation, angle)) return false;
    angle *= kPi / 180;
  }
  Point along{std::cos(angle), std::sin(angle), 0};
  if (aligned) {
    std::optional<Point> direction = (*p2 - *p1).unit();
    if (!direction) return false;
    along = *direction;
    angle = std::atan2(along.y, along.x);
  }
  Point across{-along.y, along.x, 0};
  Point q1 = *onLine + along * (*p1 - *onLine).dot(along), q2 = *onLine + along * (*p2 - *onLine).dot(along);
  double measurement = (*p2 - *p1).dot(along);
  std::optional<Point> inward = (q2 - q1).unit();
  if (!inward) return false;

  const double k = style.scale;
  picture.line(q1, q2);
  for (const auto& [from, to] : {std::pair{*p1, q1}, std::pair{*p2, q2}})
    if (std::optional<Point> out = (to - from).unit())
      picture.line(from + *out * (style.extensionGap * k), to + *out * (style.extensionBeyond * k));
  picture.arrow(q1, *inward, across, style.arrowSize * k);
  picture.arrow(q2, *inward * -1, across, style.arrowSize * k);
  Point middle = pointOf(tags, 11).value_or((q1 + q2) * 0.5);
  std::string text = measuredText(tags, std::fabs(measurement), style.decimals, "");
  if (!text.empty()) picture.text(text, middle, style.textHeight * k, readableDegrees(angle));
  return true;
}

// Diameter: from the chord point (15) through the circle to the definition
// point (10). Radius: from the centre (10) to the chord point (15).
bool circular(std::span<const TagView> tags, bool diameter, const DimensionStyle& style, Picture& picture) {
  std::optional<Point> start = pointOf(tags, 10), chord = pointOf(tags, 15);
  if (!start || !chord) return false;
  std::optional<Point> inward = (*start - *chord).unit();
  if (!inward) return false;
  Point across{-inward->y, inward->x, 0};
  const double k = style.scale;
  picture.line(*start, *chord);
  picture.arrow(*chord, *inward, across, style.arrowSize * k);
  if (diameter) picture.arrow(*start, *inward * -1, across, style.arrowSize * k);
  Point middle = pointOf(tags, 11).value_or((*start + *chord) * 0.5);
  std::string text = measuredText(tags, (*chord - *start).length(), style.decimals, diameter ? "%%c" : "R");
  if (!text.empty()) picture.text(text, middle, style.textHeight * k, 0);
  return true;
}

void applyVariable(int code, std::string_view value, DimensionStyle& style) {
  double number = 0;
  if (!parseReal(value, number)) return;
  if (code == 41) style.arrowSize = number;
  if (code == 42) style.extensionGap = number;
  if (code == 44) style.extensionBeyond = number;
  if (code == 140) style.textHeight = number;
  if (code == 40 && number > 0) style.scale = number;
  // Converted only in range: a huge number does not fit an int (out of
  // range counts as unset when the text is made).
  if (code == 271) style.decimals = number >= 0 && number <= 8 ? static_cast<int>(number) : -1;
}

}  // namespace

void applyDimensionStyle(std::span<const TagView> entry, DimensionStyle& style) {
  for (const TagView& tag : entry) applyVariable(tag.code, tag.value, style);
}

void applyHeaderDimensionVariables(std::span<const TagView> header, DimensionStyle& style) {
  static constexpr std::pair<std::string_view, int> kCodes[] = {{"$DIMASZ", 41},  {"$DIMEXO", 42},   {"$DIMEXE", 44},
                                                                {"$DIMTXT", 140}, {"$DIMSCALE", 40}, {"$DIMDEC", 271}};
  int code = 0;
  for (const TagView& tag : header) {
    if (tag.code == 9) {
      code = 0;
      for (const auto& [name, variable] : kCodes)
        if (tag.value == name) code = variable;
    } else if (code != 0) {
      applyVariable(code, tag.value, style);
      code = 0;
    }
  }
}

std::vector<PictureEntity> dimensionPicture(std::span<const TagView> dimension, const DimensionStyle& style,
                                            bool subclasses) {
  std::optional<Point> extrusion = pointOf(dimension, 210);
  if (extrusion && (std::fabs(extrusion->x) > 1e-12 || std::fabs(extrusion->y) > 1e-12 || extrusion->z <= 0)) return {};
  int64_t flags = 0;
  if (auto kind = findTag(dimension, 70); !kind || !parseInteger(*kind, flags)) return {};
  Picture picture(subclasses);
  bool drawn = false;
  switch (flags & 7) {
    case 0: drawn = linear(dimension, false, style, picture); break;
    case 1: drawn = linear(dimension, true, style, picture); break;
    case 3: drawn = circular(dimension, true, style, picture); break;
    case 4: drawn = circular(dimension, false, style, picture); break;
    default: break;
  }
  return drawn ? picture.take() : std::vector<PictureEntity>();
}

}  // namespace db
