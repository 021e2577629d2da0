#include "acis/geometry_records.h"

#include <cmath>

#include "acis/nurbs_records.h"

namespace acis_detail {

namespace {

constexpr int kMaxReferenceDepth = 8;

acis::Surface unsupportedSurface(std::string reason) {
  acis::Surface surface;
  surface.kind = acis::SurfaceKind::Unsupported;
  surface.reason = std::move(reason);
  return surface;
}

acis::Curve unsupportedCurve(std::string reason) {
  acis::Curve curve;
  curve.kind = acis::CurveKind::Unsupported;
  curve.reason = std::move(reason);
  return curve;
}

double length(const acis::Vec3& v) { return std::sqrt(v.dot(v)); }

bool readPlane(Cursor& in, acis::Surface& s) {
  return in.vec3(s.root) && in.vec3(s.normal) && in.vec3(s.uDirection) && in.flag("forward_v", "reverse_v", s.reverseV) &&
         length(s.normal) > 0;
}

bool readCone(Cursor& in, acis::Surface& s) {
  if (!in.vec3(s.root) || !in.vec3(s.normal) || !in.vec3(s.majorAxis) || !in.real(s.ratio) || !in.skipIntervalEnd() ||
      !in.skipIntervalEnd() || !in.real(s.sinHalfAngle) || !in.real(s.cosHalfAngle))
    return false;
  s.uScale = length(s.majorAxis);
  if (in.peekIsNumber() && !in.real(s.uScale)) return false;
  return length(s.normal) > 0 && length(s.majorAxis) > 0 && s.ratio > 0 &&
         (s.sinHalfAngle != 0 || s.cosHalfAngle != 0);
}

bool readSphere(Cursor& in, acis::Surface& s) {
  return in.vec3(s.root) && in.real(s.radius) && in.vec3(s.uDirection) && in.vec3(s.normal) &&
         in.flag("forward_v", "reverse_v", s.reverseV) && s.radius != 0 && length(s.normal) > 0 &&
         length(s.uDirection) > 0;
}

bool readTorus(Cursor& in, acis::Surface& s) {
  return in.vec3(s.root) && in.vec3(s.normal) && in.real(s.majorRadius) && in.real(s.minorRadius) &&
         in.vec3(s.uDirection) && in.flag("forward_v", "reverse_v", s.reverseV) && s.minorRadius != 0 &&
         length(s.normal) > 0 && length(s.uDirection) > 0;
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
  std::string_view kind = geometryKind(record.type, "surface");
  Cursor in(m_model.tokensOf(record), m_model.version);
  acis::Surface s;
  std::string reason = "damaged " + std::string(kind) + " surface";
  bool ok = in.entityPrefix();
  if (kind == "plane") {
    s.kind = acis::SurfaceKind::Plane;
    ok = ok && readPlane(in, s);
  } else if (kind == "cone") {
    s.kind = acis::SurfaceKind::Cone;
    ok = ok && readCone(in, s);
  } else if (kind == "sphere") {
    s.kind = acis::SurfaceKind::Sphere;
    ok = ok && readSphere(in, s);
  } else if (kind == "torus") {
    s.kind = acis::SurfaceKind::Torus;
    ok = ok && readTorus(in, s);
  } else if (kind == "spline") {
    s.kind = acis::SurfaceKind::Spline;
    bool reversed = false;
    ok = ok && in.flag("forward", "reversed", reversed) && enterSplineData(in) && readNurbsSurface(in, s.spline, reason);
    if (ok && reversed) reverseSurfaceV(s.spline);
  } else {
    return unsupportedSurface("surface type \"" + std::string(record.type.substr(0, 48)) + "\"");
  }
  return ok ? s : unsupportedSurface(std::move(reason));
}

acis::Curve GeometryReader::curve(const RawRecord& record) {
  std::string_view kind = geometryKind(record.type, "curve");
  Cursor in(m_model.tokensOf(record), m_model.version);
  acis::Curve c;
  std::string reason = "damaged " + std::string(kind) + " curve";
  bool ok = in.entityPrefix();
  if (kind == "straight") {
    c.kind = acis::CurveKind::Straight;
    ok = ok && in.vec3(c.root) && in.vec3(c.direction) && length(c.direction) > 0;
  } else if (kind == "ellipse") {
    c.kind = acis::CurveKind::Ellipse;
    ok = ok && in.vec3(c.center) && in.vec3(c.normal) && in.vec3(c.majorAxis) && in.real(c.ratio) &&
         length(c.normal) > 0 && length(c.majorAxis) > 0 && c.ratio > 0;
    if (ok) c.normal = c.normal * (1 / length(c.normal));
  } else if (kind == "intcurve") {
    c.kind = acis::CurveKind::Spline;
    bool reversed = false;
    ok = ok && in.flag("forward", "reversed", reversed) && enterSplineData(in) && readNurbsCurve(in, c.spline, reason);
    if (ok && reversed) reverseCurve(c.spline);
  } else {
    return unsupportedCurve("curve type \"" + std::string(record.type.substr(0, 48)) + "\"");
  }
  return ok ? c : unsupportedCurve(std::move(reason));
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

}  // namespace acis_detail
