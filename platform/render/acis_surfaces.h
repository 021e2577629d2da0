// The surfaces of faces in parameters of the facetter's own, chosen so that
// du x dv points along the surface's outward side as the body file defines
// it (`outwardSign` says when it is the other way), with the point of a
// parameter pair and the parameters of a point on the surface.
#pragma once
#include <optional>

#include "acis/model.h"
#include "geometry.h"

namespace render {

struct Vec2 {
  double u = 0, v = 0;
};

// The angle that equals `value` less whole turns and lies nearest `near`.
double nearestTurn(double value, double near);

class ParamSurface {
 public:
  // The surface's view, or none for a kind or data that cannot be followed.
  static std::optional<ParamSurface> of(const acis::Surface& surface);

  Vec3 point(double u, double v) const;
  // The unit normal along du x dv (a zero vector where it has none).
  Vec3 normal(double u, double v) const;
  // The parameters of a point on the surface; u near `nearU` where u
  // repeats itself.
  Vec2 param(const Vec3& p, double nearU) const;
  // +1 when du x dv is the outward side the face's sense refers to, else -1.
  double outwardSign() const { return m_sign; }

  // u repeats every 2 pi (cones, spheres, tori); v too on tori.
  bool periodicU() const { return m_kind != acis::SurfaceKind::Plane && m_kind != acis::SurfaceKind::Spline; }
  bool periodicV() const { return m_kind == acis::SurfaceKind::Torus; }
  bool flat() const { return m_kind == acis::SurfaceKind::Plane; }
  // Curved along both parameters by angles (spheres, tori): the facets
  // need inner points a step apart both ways.
  bool bendsBothWays() const { return closed(); }
  // Where the surface shrinks to a point at constant v: the sphere's poles,
  // the cone's apex. False for the other end.
  bool hasPole(bool high) const;
  double poleV(bool high) const;
  // Whether a point lies on a pole, and on which.
  bool atPole(const Vec3& p, bool& high) const;
  // The whole parameter rectangle of a closed surface (sphere, torus).
  bool closed() const { return m_kind == acis::SurfaceKind::Sphere || m_kind == acis::SurfaceKind::Torus; }
  double lowV() const;
  double highV() const;

 private:
  acis::SurfaceKind m_kind = acis::SurfaceKind::Plane;
  Vec3 m_origin, m_x, m_y, m_z;  // axes: m_z the normal or axis
  double m_ratio = 1, m_major = 0, m_minor = 0, m_slope = 0;
  double m_sign = 1;
  const acis::NurbsSurface* m_spline = nullptr;
  double m_u0 = 0, m_u1 = 0, m_v0 = 0, m_v1 = 0;  // the spline's range

  Vec2 splineParam(const Vec3& p) const;
};

}  // namespace render
