#include "acis/geometry_records.h"

#include <cmath>

#include "acis/nurbs_records.h"

namespace acis::detail {

namespace {

constexpr int kMaxReferenceDepth = 8;

template <typename Shape>
Shape unsupported(std::string reason) {
  Shape shape;
  shape.kind = decltype(shape.kind)::Unsupported;
  shape.reason = std::move(reason);
  return shape;
}

// The readers of the record's fields after the entity prefix, by the kind
// the type name gives; `reason` may be made more precise.
template <typename Shape>
struct ShapeReader {
  std::string_view kind;
  bool (*read)(GeometryReader& geometry, Cursor& in, Shape& shape, std::string& reason);
};

bool readPlane(GeometryReader&, Cursor& in, acis::Surface& s, std::string&) {
  s.kind = acis::SurfaceKind::Plane;
  return in.vec3(s.root) && in.vec3(s.normal) && in.vec3(s.uDirection) &&
         in.flag("forward_v", "reverse_v", s.reverseV) && s.normal.length() > 0;
}

bool readCone(GeometryReader&, Cursor& in, acis::Surface& s, std::string&) {
  s.kind = acis::SurfaceKind::Cone;
  if (!in.vec3(s.root) || !in.vec3(s.normal) || !in.vec3(s.majorAxis) || !in.real(s.ratio) || !in.skipIntervalEnd() ||
      !in.skipIntervalEnd() || !in.real(s.sinHalfAngle) || !in.real(s.cosHalfAngle))
    return false;
  s.uScale = s.majorAxis.length();
  if (in.peekIsNumber() && !in.real(s.uScale)) return false;
  return s.normal.length() > 0 && s.majorAxis.length() > 0 && s.ratio > 0 &&
         (s.sinHalfAngle != 0 || s.cosHalfAngle != 0);
}

bool readSphere(GeometryReader&, Cursor& in, acis::Surface& s, std::string&) {
  s.kind = acis::SurfaceKind::Sphere;
  return in.vec3(s.root) && in.real(s.radius) && in.vec3(s.uDirection) && in.vec3(s.normal) &&
         in.flag("forward_v", "reverse_v", s.reverseV) && s.radius != 0 && s.normal.length() > 0 &&
         s.uDirection.length() > 0;
}

bool readTorus(GeometryReader&, Cursor& in, acis::Surface& s, std::string&) {
  s.kind = acis::SurfaceKind::Torus;
  return in.vec3(s.root) && in.vec3(s.normal) && in.real(s.majorRadius) && in.real(s.minorRadius) &&
         in.vec3(s.uDirection) && in.flag("forward_v", "reverse_v", s.reverseV) && s.minorRadius != 0 &&
         s.normal.length() > 0 && s.uDirection.length() > 0;
}

// A spline surface's or an intcurve's sense, then its subtype's B-spline,
// turned when the file marks it reversed.
template <typename Nurbs>
bool readSplineData(GeometryReader& geometry, Cursor& in, Nurbs& nurbs, std::string& reason,
                    bool (*read)(Cursor&, Nurbs&, std::string&), void (*reverse)(Nurbs&)) {
  bool reversed = false;
  if (!in.flag("forward", "reversed", reversed) || !geometry.enterSplineData(in) || !read(in, nurbs, reason))
    return false;
  if (reversed) reverse(nurbs);
  return true;
}

bool readSplineSurface(GeometryReader& geometry, Cursor& in, acis::Surface& s, std::string& reason) {
  s.kind = acis::SurfaceKind::Spline;
  return readSplineData(geometry, in, s.spline, reason, readNurbsSurface, reverseSurfaceV);
}

bool readStraight(GeometryReader&, Cursor& in, acis::Curve& c, std::string&) {
  c.kind = acis::CurveKind::Straight;
  return in.vec3(c.root) && in.vec3(c.direction) && c.direction.length() > 0;
}

bool readEllipse(GeometryReader&, Cursor& in, acis::Curve& c, std::string&) {
  c.kind = acis::CurveKind::Ellipse;
  if (!in.vec3(c.center) || !in.vec3(c.normal) || !in.vec3(c.majorAxis) || !in.real(c.ratio) ||
      !(c.normal.length() > 0 && c.majorAxis.length() > 0 && c.ratio > 0))
    return false;
  c.normal = c.normal * (1 / c.normal.length());
  return true;
}

bool readIntcurve(GeometryReader& geometry, Cursor& in, acis::Curve& c, std::string& reason) {
  c.kind = acis::CurveKind::Spline;
  return readSplineData(geometry, in, c.spline, reason, readNurbsCurve, reverseCurve);
}

constexpr ShapeReader<acis::Surface> kSurfaceReaders[] = {
    {"plane", readPlane},          {"cone", readCone}, {"sphere", readSphere}, {"torus", readTorus},
    {"spline", readSplineSurface},
};
constexpr ShapeReader<acis::Curve> kCurveReaders[] = {{"straight", readStraight},
                                                      {"ellipse", readEllipse},
                                                      {"intcurve", readIntcurve}};

template <typename Shape, size_t N>
Shape readShape(GeometryReader& geometry, Cursor in, std::string_view type, std::string_view family,
                const ShapeReader<Shape> (&readers)[N]) {
  const std::string_view kind = geometryKind(type, family);
  for (const ShapeReader<Shape>& reader : readers) {
    if (reader.kind != kind) continue;
    Shape shape;
    std::string reason = "damaged " + std::string(kind) + " " + std::string(family);
    if (in.entityPrefix() && reader.read(geometry, in, shape, reason)) return shape;
    return unsupported<Shape>(std::move(reason));
  }
  return unsupported<Shape>(std::string(family) + " type \"" + std::string(type.substr(0, 48)) + "\"");
}

}  // namespace

std::string_view geometryKind(std::string_view type, std::string_view family) {
  if (type.size() <= family.size() + 1 || !type.ends_with(family)) return {};
  type.remove_suffix(family.size());
  if (type.back() != '-') return {};
  type.remove_suffix(1);
  size_t dash = type.rfind('-');
  return dash == std::string_view::npos ? type : type.substr(dash + 1);
}

acis::Surface GeometryReader::surface(const RawRecord& record) {
  return readShape(*this, Cursor(m_model.tokensOf(record), m_model.version), record.type, "surface", kSurfaceReaders);
}

acis::Curve GeometryReader::curve(const RawRecord& record) {
  return readShape(*this, Cursor(m_model.tokensOf(record), m_model.version), record.type, "curve", kCurveReaders);
}

bool GeometryReader::enterSplineData(Cursor& in) {
  if (!enterSubtype(in)) return false;
  // The exact data may be marked "full"; a subtype that keeps none fails
  // on its form word.
  const Token* next = in.peek();
  if (next && next->text == "full") in.take(next->kind);
  return true;
}

bool GeometryReader::enterSubtype(Cursor& in, int depth) {
  std::string_view name;
  if (!in.take(TokenKind::SubtypeBegin) || !in.word(name)) return false;
  if (name != "ref") return true;
  int64_t index = 0;
  const auto& known = subtypes();
  if (depth >= kMaxReferenceDepth || !in.integer(index) || index < 0 || index >= static_cast<int64_t>(known.size()))
    return false;
  auto [record, position] = known[static_cast<size_t>(index)];
  // The referenced subtype's '{' comes just before `position`.
  in = Cursor(m_model.tokensOf(m_model.records[record]).subspan(position - 1), m_model.version);
  return enterSubtype(in, depth + 1);
}

const std::vector<std::pair<uint32_t, uint32_t>>& GeometryReader::subtypes() {
  if (m_subtypesFound) return m_subtypes;
  m_subtypesFound = true;
  for (uint32_t r = 0; r < m_model.records.size(); ++r) {
    std::span<const Token> tokens = m_model.tokensOf(m_model.records[r]);
    for (uint32_t i = 0; i < tokens.size(); ++i) {
      if (tokens[i].kind != TokenKind::SubtypeBegin) continue;
      bool reference = i + 1 < tokens.size() && tokens[i + 1].text == "ref";
      if (!reference) m_subtypes.emplace_back(r, i + 1);
    }
  }
  return m_subtypes;
}

}  // namespace acis::detail
