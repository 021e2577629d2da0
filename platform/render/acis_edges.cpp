#include "acis_edges.h"

#include <cmath>

#include "curve_segments.h"
#include "nurbs.h"

namespace render {

namespace {

// Parameters sampled per knot span to learn how much a spline turns.
constexpr int kSamplesPerSpan = 16;
constexpr int kMaxSplineSegments = 4096;

Vec3 ellipsePoint(const acis::Curve& c, double t) {
  Vec3 major = c.majorAxis;
  Vec3 minor = c.normal.cross(major) * c.ratio;
  return c.center + major * std::cos(t) + minor * std::sin(t);
}

double angleBetween(const Vec3& a, const Vec3& b) {
  double la = a.length(), lb = b.length();
  if (!(la > 0) || !(lb > 0)) return 0;
  return std::acos(std::fmax(-1.0, std::fmin(1.0, a.dot(b) / (la * lb))));
}

// How many chords a stretch of a spline needs: as many as its tangent turns
// steps, at least one per knot span it crosses.
int splineSegments(const acis::NurbsCurve& spline, double t0, double t1) {
  int spans = 1;
  for (double knot : spline.knots)
    if (knot > std::fmin(t0, t1) && knot < std::fmax(t0, t1)) ++spans;
  int samples = spans * kSamplesPerSpan;
  double turning = 0;
  Vec3 previous = nurbsPoint(spline, t0), lastChord;
  for (int i = 1; i <= samples; ++i) {
    Vec3 p = nurbsPoint(spline, t0 + (t1 - t0) * i / samples);
    Vec3 chord = p - previous;
    if (chord.length() > 0) {
      if (lastChord.length() > 0) turning += angleBetween(lastChord, chord);
      lastChord = chord;
    }
    previous = p;
  }
  int segments = static_cast<int>(std::ceil(turning / kSegmentStep - 1e-9));
  return std::min(kMaxSplineSegments, std::max(segments, std::max(spans, 1)));
}

// The points strictly between the ends of an edge, in the edge's direction;
// false for a curve that cannot be followed.
bool innerPoints(const acis::Body& body, const acis::Edge& edge, std::vector<Vec3>& points) {
  if (edge.curve < 0) return true;  // degenerate: a point
  if (edge.curve >= static_cast<int32_t>(body.curves.size())) return false;
  const acis::Curve& curve = body.curves[edge.curve];
  double sign = edge.curveReversed ? -1.0 : 1.0;
  double t0 = edge.startParam * sign, t1 = edge.endParam * sign;
  if (!std::isfinite(t0) || !std::isfinite(t1)) return false;
  switch (curve.kind) {
    case acis::CurveKind::Straight: return true;
    case acis::CurveKind::Ellipse: {
      int segments = segmentsFor(t1 - t0);
      for (int i = 1; i < segments; ++i) points.push_back(ellipsePoint(curve, t0 + (t1 - t0) * i / segments));
      return true;
    }
    case acis::CurveKind::Spline: {
      if (!nurbsUsable(curve.spline)) return false;
      int segments = splineSegments(curve.spline, t0, t1);
      for (int i = 1; i < segments; ++i) points.push_back(nurbsPoint(curve.spline, t0 + (t1 - t0) * i / segments));
      return true;
    }
    default: return false;
  }
}

}  // namespace

BodyPoints cutEdges(const acis::Body& body, Mesh& mesh) {
  BodyPoints out;
  out.vertices.reserve(body.vertices.size());
  for (const acis::Vertex& vertex : body.vertices) out.vertices.push_back(mesh.addVertex(vertex.point));
  out.edges.resize(body.edges.size());
  std::vector<Vec3> inner;
  int32_t vertexCount = static_cast<int32_t>(body.vertices.size());
  for (size_t i = 0; i < body.edges.size(); ++i) {
    const acis::Edge& edge = body.edges[i];
    if (edge.start < 0 || edge.start >= vertexCount || edge.end < 0 || edge.end >= vertexCount) continue;
    inner.clear();
    if (!innerPoints(body, edge, inner)) continue;
    std::vector<int32_t>& ids = out.edges[i];
    ids.push_back(out.vertices[edge.start]);
    for (const Vec3& p : inner) ids.push_back(mesh.addVertex(p));
    ids.push_back(out.vertices[edge.end]);
  }
  return out;
}

}  // namespace render
