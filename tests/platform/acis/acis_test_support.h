// Test support: reading the test solids, and the geometry that tells whether
// a read body is the one the file describes (points on curves, loop turns).
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "acis/model.h"
#include "support/files.h"

namespace acis_test {

inline std::string readFile(const std::string& name) {
  return test_support::readFile(std::string(VRML_TEST_DATA_DIR) + "/acis/" + name);
}

inline acis::ParseResult parseFile(const std::string& name) {
  std::string bytes = readFile(name);
  if (name.ends_with(".sab")) return acis::parseSab({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
  return acis::parseSat(bytes);
}

// The point at edge parameter `s`: the curve runs the other way on a
// reversed edge, at the negated parameter.
inline acis::Vec3 pointOnEdge(const acis::Body& body, const acis::Edge& edge, double s) {
  const acis::Curve& c = body.curves[static_cast<size_t>(edge.curve)];
  const double t = edge.curveReversed ? -s : s;
  if (c.kind == acis::CurveKind::Straight) return c.root + c.direction * t;
  const acis::Vec3 minor = c.normal.cross(c.majorAxis) * c.ratio;
  return c.center + c.majorAxis * std::cos(t) + minor * std::sin(t);
}

inline double distance(const acis::Vec3& a, const acis::Vec3& b) { return (a - b).length(); }

// Twice the area vector of a loop (Newell), its edges sampled along their
// curves in the direction the coedges run.
inline acis::Vec3 loopAreaVector(const acis::Body& body, const acis::Loop& loop) {
  std::vector<acis::Vec3> points;
  for (const acis::Coedge& coedge : loop.coedges) {
    const acis::Edge& edge = body.edges[static_cast<size_t>(coedge.edge)];
    constexpr int kSteps = 16;
    for (int i = 0; i < kSteps; ++i) {
      double f = static_cast<double>(i) / kSteps;
      if (coedge.reversed) f = 1 - f;
      points.push_back(pointOnEdge(body, edge, edge.startParam + (edge.endParam - edge.startParam) * f));
    }
  }
  acis::Vec3 sum;
  for (size_t i = 0; i < points.size(); ++i) sum = sum + points[i].cross(points[(i + 1) % points.size()]);
  return sum;
}

// What every planar face of a solid or region must show when the reader
// took the senses, parameters and curves right: each edge's parameters give
// its vertices, and about the face's normal (the plane's, negated for a
// reversed face) the outer loop turns counter-clockwise and holes clockwise.
inline void expectPlanarConventions(const acis::Body& body, const std::string& what) {
  for (const acis::Edge& edge : body.edges) {
    if (edge.curve < 0) continue;
    const double size = 1 + distance(body.vertices[static_cast<size_t>(edge.start)].point, {});
    EXPECT_LT(distance(pointOnEdge(body, edge, edge.startParam), body.vertices[static_cast<size_t>(edge.start)].point),
              1e-6 * size)
        << what;
    EXPECT_LT(distance(pointOnEdge(body, edge, edge.endParam), body.vertices[static_cast<size_t>(edge.end)].point),
              1e-6 * size)
        << what;
  }
  for (const acis::Face& face : body.faces) {
    const acis::Surface& surface = body.surfaces[static_cast<size_t>(face.surface)];
    if (surface.kind != acis::SurfaceKind::Plane || face.loops.empty()) continue;
    const acis::Vec3 normal = surface.normal * (face.reversed ? -1.0 : 1.0);
    double largest = 0;
    size_t outer = 0;
    std::vector<double> turns;
    for (size_t i = 0; i < face.loops.size(); ++i) {
      turns.push_back(loopAreaVector(body, face.loops[i]).dot(normal));
      if (std::abs(turns[i]) > largest) largest = std::abs(turns[i]), outer = i;
    }
    for (size_t i = 0; i < turns.size(); ++i) EXPECT_EQ(turns[i] > 0, i == outer) << what << ", loop " << i;
  }
}

}  // namespace acis_test
