// Test support: small bodies made in code, the facets the tessellator makes
// of them, and the sums tests compare (volume, area, how edges pair up after
// the writer's rounding).
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "acis/model.h"
#include "render/acis_bodies.h"
#include "render/curve_segments.h"
#include "render/mesh.h"

namespace acis_test {

using acis::Vec3;

// Builds a body face by face over shared vertices and edges.
class BodyMaker {
 public:
  int vertex(const Vec3& p) {
    body.vertices.push_back({p});
    return static_cast<int>(body.vertices.size()) - 1;
  }
  int surface(const acis::Surface& s) {
    body.surfaces.push_back(s);
    return static_cast<int>(body.surfaces.size()) - 1;
  }
  // The straight edge between two vertices, made once; a coedge running from
  // `from` to `to`.
  acis::Coedge line(int from, int to) {
    auto found = m_lines.find({to, from});
    if (found != m_lines.end()) return {found->second, true};
    found = m_lines.find({from, to});
    if (found != m_lines.end()) return {found->second, false};
    acis::Curve c;
    c.kind = acis::CurveKind::Straight;
    c.root = body.vertices[from].point;
    Vec3 d = body.vertices[to].point - c.root;
    double length = std::sqrt(d.dot(d));
    c.direction = d * (1 / length);
    int edge = addEdge(from, to, c, 0, length);
    m_lines[{from, to}] = edge;
    return {edge, false};
  }
  // A whole circle about `normal` through its one vertex at angle 0.
  int circle(const Vec3& center, const Vec3& normal, double radius, const Vec3& axis) {
    int v = vertex(center + axis * radius);
    acis::Curve c;
    c.kind = acis::CurveKind::Ellipse;
    c.center = center;
    c.normal = normal;
    c.majorAxis = axis * radius;
    return addEdge(v, v, c, 0, 2 * M_PI);
  }
  // A point edge, as at a cone's apex.
  int point(int v) { return addEdge(v, v, {}, 0, 0, false); }
  acis::Face& face(int surface, std::vector<std::vector<acis::Coedge>> loops, bool reversed = false) {
    acis::Face f;
    f.surface = surface;
    f.reversed = reversed;
    for (auto& coedges : loops) f.loops.push_back({std::move(coedges)});
    body.faces.push_back(std::move(f));
    return body.faces.back();
  }
  // A planar face over vertices in order, counter-clockwise about `normal`.
  acis::Face& polygon(std::vector<int> corners, const Vec3& normal) {
    std::vector<acis::Coedge> loop;
    for (size_t i = 0; i < corners.size(); ++i) loop.push_back(line(corners[i], corners[(i + 1) % corners.size()]));
    acis::Surface s;
    s.kind = acis::SurfaceKind::Plane;
    s.root = body.vertices[corners[0]].point;
    s.normal = normal;
    return face(surface(s), {loop});
  }

  acis::Body body;

 private:
  int addEdge(int from, int to, const acis::Curve& c, double t0, double t1, bool withCurve = true) {
    int curve = -1;
    if (withCurve) {
      body.curves.push_back(c);
      curve = static_cast<int>(body.curves.size()) - 1;
    }
    body.edges.push_back({from, to, t0, t1, curve, false});
    return static_cast<int>(body.edges.size()) - 1;
  }
  std::map<std::pair<int, int>, int> m_lines;
};

// What a body came out as.
struct Facets {
  render::BodyCut cut;
  render::Mesh mesh;

  double volume() const {
    double sum = 0;
    forTriangles(
        [&](const render::Vec3& a, const render::Vec3& b, const render::Vec3& c) { sum += a.dot(b.cross(c)) / 6; });
    return sum;
  }
  double area() const {
    double sum = 0;
    forTriangles([&](const render::Vec3& a, const render::Vec3& b, const render::Vec3& c) {
      sum += (b - a).cross(c - a).length() / 2;
    });
    return sum;
  }
  // Edges, between corners as the writer rounds them, that are not met once
  // each way by the facets: 0 for a closed, consistently turned surface.
  int unpairedEdges() const {
    std::map<std::pair<std::string, std::string>, int> directed;
    for (const render::Polygon& p : mesh.polygons())
      for (int i = 0; i < p.count; ++i) ++directed[{rounded(p.corner[i]), rounded(p.corner[(i + 1) % p.count])}];
    int unpaired = 0;
    for (const auto& [edge, count] : directed) {
      auto back = directed.find({edge.second, edge.first});
      if (count != 1 || back == directed.end() || back->second != 1) ++unpaired;
    }
    return unpaired;
  }

 private:
  std::string rounded(int32_t vertex) const {
    const render::Vec3& p = mesh.vertices()[vertex];
    char text[96];
    std::snprintf(text, sizeof text, "%.6f %.6f %.6f", p.x, p.y, p.z);
    return text;
  }
  template <typename F>
  void forTriangles(F f) const {
    for (const render::Polygon& p : mesh.polygons()) {
      const auto& v = mesh.vertices();
      for (int i = 1; i + 1 < p.count; ++i) f(v[p.corner[0]], v[p.corner[i]], v[p.corner[i + 1]]);
    }
  }
};

// A cut circle keeps sin(step) / step of its disc and sin(step / 2) /
// (step / 2) of its length: the most a chord rule shape may lose.
inline const double kAreaKept = std::sin(render::kSegmentStep) / render::kSegmentStep;
// Facets whose corners are at most a step apart along each parameter stay
// outside the ball of radius r * cos(step / sqrt 2), and inside the sphere.
inline const double kBallKept = std::cos(render::kSegmentStep / std::sqrt(2.0));

// Facets inside a curved shape, chords no longer than the rule allows: the
// shape's measure times what the rule keeps in each curved direction, at
// most the measure itself (a torus cut evenly both ways meets the lower
// bound exactly: the bounds hold to rounding).
inline void expectWithinRule(double value, double exact, int curvedDirections) {
  EXPECT_LE(value, exact * (1 + 1e-12));
  EXPECT_GE(value, exact * std::pow(kAreaKept, curvedDirections) * (1 - 1e-12));
}

// A sphere's volume (power 3) or area (power 2) as facets give it.
inline void expectInBall(double value, double exact, int power = 3) {
  EXPECT_LE(value, exact);
  EXPECT_GE(value, exact * std::pow(kBallKept, power));
}

inline Facets cut(const acis::Body& body) {
  Facets out;
  out.cut = render::cutBody(body, out.mesh);
  return out;
}

}  // namespace acis_test
