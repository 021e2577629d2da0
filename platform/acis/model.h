// The solid modeller's bodies as read from SAT text or SAB bytes: topology
// and geometry resolved into plain vectors that refer to each other by index,
// so a tessellator can walk them without knowing the file's layout.
#pragma once
#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace acis {

// The facetter's points are these too, so a tessellator needs no copies.
struct Vec3 {
  double x = 0, y = 0, z = 0;

  Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  Vec3 operator*(double s) const { return {x * s, y * s, z * s}; }
  bool operator==(const Vec3& o) const = default;
  double dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
  Vec3 cross(const Vec3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
  double length() const { return std::sqrt(dot(*this)); }
  bool isFinite() const { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }
};

// The body's placement: point' = scale * (p.x * rows[0] + p.y * rows[1] +
// p.z * rows[2]) + translation. The flags are what the file says of the
// rows; `reflect` means they turn a right-handed frame into a left-handed
// one, so a tessellator must flip its orientation.
struct Transform {
  Vec3 rows[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  Vec3 translation;
  double scale = 1;
  bool rotate = false;
  bool reflect = false;
  bool shear = false;

  Vec3 applyToVector(const Vec3& v) const { return (rows[0] * v.x + rows[1] * v.y + rows[2] * v.z) * scale; }
  Vec3 apply(const Vec3& p) const { return applyToVector(p) + translation; }
};

// A B-spline curve or surface direction in the common clamped form: knots
// hold every multiplicity, so knots.size() == count + degree + 1.
struct NurbsCurve {
  int32_t degree = 0;
  bool rational = false;  // weights has one entry per control point when set
  bool closed = false;    // the curve ends where it starts
  bool periodic = false;
  std::vector<double> knots;
  std::vector<Vec3> controlPoints;
  std::vector<double> weights;
};

enum class CurveKind : uint8_t { None, Straight, Ellipse, Spline, Unsupported };

struct Curve {
  CurveKind kind = CurveKind::None;
  // Straight: point(t) = root + direction * t; direction as stored (the
  // writer keeps it unit length, times a parameter scale in some versions).
  Vec3 root;
  Vec3 direction;
  // Ellipse: point(t) = center + majorAxis * cos t +
  // (normal x majorAxis) * ratio * sin t, normal of unit length.
  Vec3 center;
  Vec3 normal;
  Vec3 majorAxis;
  double ratio = 1;
  // Spline (an intcurve): the B-spline the file stores, turned by the
  // reader when the file marks the curve reversed, so that point(t) is the
  // spline at t.
  NurbsCurve spline;
  std::string reason;  // what the reader did not understand, for Unsupported
};

struct Vertex {
  Vec3 point;
};

struct Edge {
  int32_t start = -1;  // vertex indices
  int32_t end = -1;
  // The edge runs over [startParam, endParam] in its own direction. When the
  // curve is reversed relative to the edge, the curve parameter is the
  // negated edge parameter (the modeller's convention), so the point at edge
  // parameter s is curve(-s). The reader fills these from the vertices when
  // an old file stores none.
  double startParam = 0;
  double endParam = 0;
  int32_t curve = -1;  // -1: no curve (a degenerate edge, e.g. a cone apex)
  bool curveReversed = false;
};

struct Coedge {
  int32_t edge = -1;
  bool reversed = false;  // runs from the edge's end to its start
};

struct Loop {
  std::vector<Coedge> coedges;  // in the order the loop runs
};

// A surface's parameters as the modeller stores them. `reverseV` is the
// file's forward_v/reverse_v: it flips the v direction and hence the sign of
// du x dv, but not the outward normal the face's sense refers to.
enum class SurfaceKind : uint8_t { Plane, Cone, Sphere, Torus, Spline, Unsupported };

struct NurbsSurface {
  int32_t degreeU = 0;
  int32_t degreeV = 0;
  bool rational = false;
  bool closedU = false;
  bool closedV = false;
  bool periodicU = false;
  bool periodicV = false;
  std::vector<double> knotsU;  // clamped, every multiplicity
  std::vector<double> knotsV;
  int32_t countU = 0;
  int32_t countV = 0;
  // controlPoints[u * countV + v]; weights likewise when rational.
  std::vector<Vec3> controlPoints;
  std::vector<double> weights;
};

struct Surface {
  SurfaceKind kind = SurfaceKind::Unsupported;
  // Plane: root, normal (of unit length), uDirection in the plane; the
  // surface normal is `normal`.
  // Cone (cylinder when sinHalfAngle == 0): root is the base ellipse's
  // center, normal its axis, majorAxis/ratio the base ellipse; the radius
  // grows along the axis by sinHalfAngle / cosHalfAngle per unit of height;
  // uScale is the stored parameter scale (the major radius as written). The
  // surface normal points away from the axis when cosHalfAngle > 0 and
  // toward it when cosHalfAngle < 0 (both occur in real files).
  // Sphere: root is the center, radius (negative when the surface normal
  // points toward the center), uDirection toward u = 0 on the equator,
  // normal toward the pole.
  // Torus: root is the center, normal the axis, majorRadius/minorRadius
  // (a negative minor radius points the normal toward the core circle),
  // uDirection toward u = 0.
  // Spline: the surface normal is du x dv of `spline`; a spline the file
  // marks reversed has had its v direction turned by the reader.
  // A face's outward normal is the surface normal, negated when
  // Face::reversed.
  Vec3 root;
  Vec3 normal;
  Vec3 uDirection;
  Vec3 majorAxis;
  double ratio = 1;
  double sinHalfAngle = 0;
  double cosHalfAngle = 1;
  double uScale = 1;
  double radius = 0;
  double majorRadius = 0;
  double minorRadius = 0;
  bool reverseV = false;
  NurbsSurface spline;
  std::string reason;  // for Unsupported
};

struct Face {
  int32_t surface = -1;
  bool reversed = false;     // the face's normal is the surface normal negated
  bool doubleSided = false;  // a sheet or region face, seen from both sides
  std::vector<Loop> loops;   // none for a full sphere or torus
  bool supported = true;     // false: skip it and say `reason`
  std::string reason;
};

// One shell's faces are faces[firstFace, firstFace + faceCount).
struct Shell {
  int32_t lump = 0;
  int32_t firstFace = 0;
  int32_t faceCount = 0;
};

struct Body {
  std::vector<Vertex> vertices;
  std::vector<Edge> edges;
  std::vector<Curve> curves;
  std::vector<Surface> surfaces;
  std::vector<Face> faces;  // in file order, shell by shell
  std::vector<Shell> shells;
  Transform transform;
  // Every face single-sided and every edge used by two coedges: the body
  // encloses a volume.
  bool isSolid = false;
};

struct ParseResult {
  bool ok = false;
  std::string error;  // why the whole payload was refused, when !ok
  int32_t version = 0;
  // Every body and lump of the payload merged into one, placed by the
  // first body's transform (writers give one body per entity).
  Body body;
};

// A SAT text after de-substitution.
ParseResult parseSat(std::string_view text);
// SAB bytes as stored in the drawing's data records.
ParseResult parseSab(std::span<const uint8_t> bytes);

}  // namespace acis
