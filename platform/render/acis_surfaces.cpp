#include "acis_surfaces.h"

#include <cmath>
#include <numbers>

#include "acis_edges.h"
#include "nurbs.h"

namespace render {

namespace {

constexpr double kTurn = 2 * std::numbers::pi;
constexpr double kTiny = 1e-300;
// Samples per direction for a first guess of a spline point's parameters.
constexpr int kSplineGuesses = 24;
constexpr int kNewtonSteps = 30;

bool unitOf(const Vec3& v, Vec3& unit) {
  double length = v.length();
  if (!(length > kTiny) || !std::isfinite(length)) return false;
  unit = v * (1.0 / length);
  return true;
}

// Some direction square to a unit vector.
Vec3 anySquareTo(const Vec3& z) {
  Vec3 other = std::fabs(z.x) < 0.5 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
  Vec3 x;
  unitOf(other - z * other.dot(z), x);
  return x;
}

}  // namespace

double nearestTurn(double value, double near) { return value + kTurn * std::round((near - value) / kTurn); }

std::optional<ParamSurface> ParamSurface::of(const acis::Surface& surface) {
  ParamSurface s;
  s.m_kind = surface.kind;
  s.m_origin = surface.root;
  if (surface.kind == acis::SurfaceKind::Spline) {
    if (!nurbsUsable(surface.spline)) return std::nullopt;
    s.m_spline = &surface.spline;
    nurbsRange(surface.spline.knotsU, surface.spline.degreeU, s.m_u0, s.m_u1);
    nurbsRange(surface.spline.knotsV, surface.spline.degreeV, s.m_v0, s.m_v1);
    s.m_sign = surface.reverseV ? -1 : 1;
    return s;
  }
  if (surface.kind == acis::SurfaceKind::Unsupported || !unitOf(surface.normal, s.m_z)) return std::nullopt;
  Vec3 x = surface.kind == acis::SurfaceKind::Cone ? surface.majorAxis : surface.uDirection;
  x = x - s.m_z * x.dot(s.m_z);
  if (!unitOf(x, s.m_x)) {
    if (surface.kind != acis::SurfaceKind::Plane) return std::nullopt;
    s.m_x = anySquareTo(s.m_z);
  }
  s.m_y = s.m_z.cross(s.m_x);
  switch (surface.kind) {
    case acis::SurfaceKind::Cone:
      s.m_major = surface.majorAxis.length();
      s.m_ratio = std::fabs(surface.ratio);
      if (!(surface.cosHalfAngle != 0) || !(s.m_ratio > 0)) return std::nullopt;
      s.m_slope = surface.sinHalfAngle / surface.cosHalfAngle;
      s.m_sign = surface.cosHalfAngle < 0 ? -1 : 1;
      break;
    case acis::SurfaceKind::Sphere:
      s.m_major = std::fabs(surface.radius);
      s.m_sign = surface.radius < 0 ? -1 : 1;
      break;
    case acis::SurfaceKind::Torus:
      s.m_major = surface.majorRadius;
      s.m_minor = std::fabs(surface.minorRadius);
      s.m_sign = surface.minorRadius < 0 ? -1 : 1;
      break;
    default: break;
  }
  if (!(s.m_major >= 0) || !std::isfinite(s.m_major) || !std::isfinite(s.m_minor) || !std::isfinite(s.m_slope) ||
      !s.m_origin.isFinite())
    return std::nullopt;
  if (surface.kind != acis::SurfaceKind::Plane && !(s.m_major > 0 || s.m_minor > 0)) return std::nullopt;
  return s;
}

Vec3 ParamSurface::point(double u, double v) const {
  Vec3 radial = m_x * std::cos(u) + m_y * std::sin(u);
  switch (m_kind) {
    case acis::SurfaceKind::Plane: return m_origin + m_x * u + m_y * v;
    case acis::SurfaceKind::Cone: {
      double scale = 1 + v * m_slope / m_major;
      return m_origin + m_z * v + (m_x * std::cos(u) + m_y * (m_ratio * std::sin(u))) * (m_major * scale);
    }
    case acis::SurfaceKind::Sphere: return m_origin + (radial * std::cos(v) + m_z * std::sin(v)) * m_major;
    case acis::SurfaceKind::Torus:
      return m_origin + radial * (m_major + m_minor * std::cos(v)) + m_z * (m_minor * std::sin(v));
    default: return nurbsPoint(*m_spline, u, v);
  }
}

Vec3 ParamSurface::normal(double u, double v) const {
  Vec3 radial = m_x * std::cos(u) + m_y * std::sin(u);
  Vec3 n;
  switch (m_kind) {
    case acis::SurfaceKind::Plane: return m_z;
    case acis::SurfaceKind::Cone: unitOf(radial - m_z * m_slope, n); return n;
    case acis::SurfaceKind::Sphere:
    case acis::SurfaceKind::Torus: return radial * std::cos(v) + m_z * std::sin(v);
    default: {
      // Differences over a small share of the range; near an edge of the
      // range they look inward.
      double hu = (m_u1 - m_u0) * 1e-5, hv = (m_v1 - m_v0) * 1e-5;
      double ua = std::fmax(m_u0, u - hu), ub = std::fmin(m_u1, u + hu);
      double va = std::fmax(m_v0, v - hv), vb = std::fmin(m_v1, v + hv);
      Vec3 du = point(ub, v) - point(ua, v), dv = point(u, vb) - point(u, va);
      unitOf(du.cross(dv), n);
      return n;
    }
  }
}

Vec2 ParamSurface::param(const Vec3& p, double nearU) const {
  Vec3 d = p - m_origin;
  double x = d.dot(m_x), y = d.dot(m_y), z = d.dot(m_z);
  switch (m_kind) {
    case acis::SurfaceKind::Plane: return {x, y};
    case acis::SurfaceKind::Cone: return {nearestTurn(std::atan2(y / m_ratio, x), nearU), z};
    case acis::SurfaceKind::Sphere: return {nearestTurn(std::atan2(y, x), nearU), std::atan2(z, std::hypot(x, y))};
    case acis::SurfaceKind::Torus:
      return {nearestTurn(std::atan2(y, x), nearU), std::atan2(z, std::hypot(x, y) - m_major)};
    default: return splineParam(p);
  }
}

Vec2 ParamSurface::splineParam(const Vec3& p) const {
  // The nearest of a grid of samples, then Newton steps on the distance.
  Vec2 best{m_u0, m_v0};
  double bestDistance = INFINITY;
  for (int i = 0; i <= kSplineGuesses; ++i) {
    for (int j = 0; j <= kSplineGuesses; ++j) {
      Vec2 at{m_u0 + (m_u1 - m_u0) * i / kSplineGuesses, m_v0 + (m_v1 - m_v0) * j / kSplineGuesses};
      double distance = (point(at.u, at.v) - p).length();
      if (distance < bestDistance) {
        bestDistance = distance;
        best = at;
      }
    }
  }
  double hu = (m_u1 - m_u0) * 1e-6, hv = (m_v1 - m_v0) * 1e-6;
  for (int step = 0; step < kNewtonSteps; ++step) {
    Vec3 s = point(best.u, best.v);
    Vec3 su = (point(best.u + hu, best.v) - point(best.u - hu, best.v)) * (0.5 / hu);
    Vec3 sv = (point(best.u, best.v + hv) - point(best.u, best.v - hv)) * (0.5 / hv);
    Vec3 r = p - s;
    // Least squares: [su.su su.sv; su.sv sv.sv] (du, dv) = (su.r, sv.r).
    double a = su.dot(su), b = su.dot(sv), c = sv.dot(sv);
    double det = a * c - b * b;
    if (!(std::fabs(det) > kTiny)) break;
    double du = (c * su.dot(r) - b * sv.dot(r)) / det;
    double dv = (a * sv.dot(r) - b * su.dot(r)) / det;
    best.u = std::fmin(m_u1, std::fmax(m_u0, best.u + du));
    best.v = std::fmin(m_v1, std::fmax(m_v0, best.v + dv));
    if (std::fabs(du) < hu * 1e-3 && std::fabs(dv) < hv * 1e-3) break;
  }
  return best;
}

bool ParamSurface::hasPole(bool high) const {
  if (m_kind == acis::SurfaceKind::Sphere) return true;
  if (m_kind == acis::SurfaceKind::Cone && m_slope != 0) return (m_slope < 0) == high;
  return false;
}

double ParamSurface::poleV(bool high) const {
  if (m_kind == acis::SurfaceKind::Sphere) return high ? std::numbers::pi / 2 : -std::numbers::pi / 2;
  return -m_major / m_slope;
}

bool ParamSurface::atPole(const Vec3& p, bool& high) const {
  // Points on a pole come from the same arithmetic as the pole itself only
  // by chance: a small share of the size separates them.
  double tolerance = 1e-9 * std::fmax(1.0, m_major);
  for (bool side : {false, true}) {
    if (hasPole(side) && (p - point(0, poleV(side))).length() <= tolerance) {
      high = side;
      return true;
    }
  }
  return false;
}

double ParamSurface::lowV() const { return m_kind == acis::SurfaceKind::Sphere ? -std::numbers::pi / 2 : 0; }
double ParamSurface::highV() const { return m_kind == acis::SurfaceKind::Sphere ? std::numbers::pi / 2 : kTurn; }

}  // namespace render
