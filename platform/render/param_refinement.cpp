#include "param_refinement.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "curve_segments.h"

namespace acre_detail {

uint64_t edgeKey(int32_t a, int32_t b) {
  if (a > b) std::swap(a, b);
  return (static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32) | static_cast<uint32_t>(b);
}

namespace {

// Each pass halves the edges it splits: a full turn across one triangle
// needs log2 of the chords per turn passes.
constexpr int kMaxPasses = 12;
// Points a single face may grow to.
constexpr size_t kMaxPoints = 1'000'000;
constexpr int kMaxFlipSweeps = 32;

double cross(const Vec2& a, const Vec2& b, const Vec2& c) {
  return (b.u - a.u) * (c.v - a.v) - (c.u - a.u) * (b.v - a.v);
}

// Whether d lies inside the circle through a, b, c (counter-clockwise).
bool inCircle(const Vec2& a, const Vec2& b, const Vec2& c, const Vec2& d) {
  double ax = a.u - d.u, ay = a.v - d.v, bx = b.u - d.u, by = b.v - d.v, cx = c.u - d.u, cy = c.v - d.v;
  double det = (ax * ax + ay * ay) * (bx * cy - cx * by) - (bx * bx + by * by) * (ax * cy - cx * ay) +
               (cx * cx + cy * cy) * (ax * by - bx * ay);
  return det > 1e-12 * (ax * ax + ay * ay + bx * bx + by * by + cx * cx + cy * cy) *
                   (ax * ax + ay * ay + bx * bx + by * by + cx * cx + cy * cy);
}

// Parameters drawn to the surface's scale about a place on it: u and v
// steps there become as long as the distances they cover on the surface.
struct LocalMetric {
  Vec2 du, dv;
  Vec2 operator()(const Vec2& p) const { return {du.u * p.u + dv.u * p.v, du.v * p.u + dv.v * p.v}; }
};

LocalMetric metricAt(const ParamSurface& surface, const Vec2& at, double h) {
  Vec3 su = (surface.point(at.u + h, at.v) - surface.point(at.u - h, at.v)) * (0.5 / h);
  Vec3 sv = (surface.point(at.u, at.v + h) - surface.point(at.u, at.v - h)) * (0.5 / h);
  // An orthonormal frame of the tangent plane: su along its first axis.
  double lu = su.length();
  if (!(lu > 0)) return {{1, 0}, {0, 1}};
  Vec3 e1 = su * (1 / lu);
  Vec3 normalPart = sv - e1 * sv.dot(e1);
  return {{lu, 0}, {sv.dot(e1), normalPart.length()}};
}

// Turns inner edges until no triangle's circle, drawn to the surface's
// scale, holds its neighbour's far corner: the tessellator's fans of long
// slivers become even triangles that refine into few.
void flipToDelaunay(ParamMesh& region, const std::vector<uint64_t>& boundary, const ParamSurface& surface) {
  // The triangles on each side of every inner edge, found afresh each sweep.
  std::unordered_map<uint64_t, std::pair<int32_t, int32_t>> sides;
  std::vector<Triangle>& triangles = region.triangles;
  const std::vector<Vec2>& p = region.points;
  for (int sweep = 0; sweep < kMaxFlipSweeps; ++sweep) {
    sides.clear();
    for (int32_t t = 0; t < static_cast<int32_t>(triangles.size()); ++t) {
      for (int k = 0; k < 3; ++k) {
        uint64_t key = edgeKey(triangles[t][k], triangles[t][(k + 1) % 3]);
        auto [it, fresh] = sides.try_emplace(key, t, -1);
        if (!fresh) it->second.second = t;
      }
    }
    std::vector<bool> touched(triangles.size(), false);
    int flips = 0;
    for (const auto& [key, pair] : sides) {
      auto [t1, t2] = pair;
      if (t2 < 0 || touched[t1] || touched[t2]) continue;
      if (std::binary_search(boundary.begin(), boundary.end(), key)) continue;
      int32_t a = static_cast<int32_t>(key >> 32), b = static_cast<int32_t>(key & 0xffffffffu);
      // Name the corners so that t1 runs a -> b -> c and t2 b -> a -> d.
      auto opposite = [&](const Triangle& t, int32_t from, int32_t to, int32_t& other) {
        for (int k = 0; k < 3; ++k)
          if (t[k] == from && t[(k + 1) % 3] == to) {
            other = t[(k + 2) % 3];
            return true;
          }
        return false;
      };
      int32_t c = -1, d = -1;
      if (!opposite(triangles[t1], a, b, c)) std::swap(a, b);
      if (!opposite(triangles[t1], a, b, c) || !opposite(triangles[t2], b, a, d)) continue;
      if (!(cross(p[c], p[a], p[d]) > 0) || !(cross(p[d], p[b], p[c]) > 0)) continue;  // not convex
      Vec2 middle{(p[a].u + p[b].u) / 2, (p[a].v + p[b].v) / 2};
      double h = 1e-6 * (std::fabs(p[a].u - p[b].u) + std::fabs(p[a].v - p[b].v) + 1e-3);
      LocalMetric m = metricAt(surface, middle, h);
      if (!inCircle(m(p[a]), m(p[b]), m(p[c]), m(p[d]))) continue;
      triangles[t1] = {c, a, d};
      triangles[t2] = {d, b, c};
      touched[t1] = touched[t2] = true;
      ++flips;
    }
    if (flips == 0) break;
  }
}

}  // namespace

void refine(ParamMesh& region, const std::vector<uint64_t>& boundary, const ParamSurface& surface, Mesh& mesh) {
  std::vector<Vec3> normals;
  auto normalOf = [&](int32_t i) {
    while (normals.size() < region.points.size()) {
      const Vec2& p = region.points[normals.size()];
      normals.push_back(surface.normal(p.u, p.v));
    }
    return normals[i];
  };
  double limit = std::cos(kSegmentStep * (1 + 1e-6));
  std::unordered_map<uint64_t, int32_t> middles;
  auto needsSplit = [&](int32_t a, int32_t b) {
    if (std::binary_search(boundary.begin(), boundary.end(), edgeKey(a, b))) return false;
    return normalOf(a).dot(normalOf(b)) < limit;
  };
  // An edge that needs k steps is split where whole steps fall on both
  // sides, so that it ends in k pieces, not in the next power of two.
  auto middleOf = [&](int32_t a, int32_t b) {
    auto [it, fresh] = middles.try_emplace(edgeKey(a, b), -1);
    if (fresh) {
      double angle = std::acos(std::fmax(-1.0, std::fmin(1.0, normalOf(a).dot(normalOf(b)))));
      double steps = std::ceil(angle / kSegmentStep - 1e-6);
      double share = steps >= 2 ? std::floor(steps / 2) / steps : 0.5;
      const Vec2 &p = region.points[a], &q = region.points[b];
      it->second = static_cast<int32_t>(region.points.size());
      region.points.push_back({p.u + (q.u - p.u) * share, p.v + (q.v - p.v) * share});
      region.ids.push_back(-1);
    }
    return it->second;
  };
  std::vector<Triangle> next;
  flipToDelaunay(region, boundary, surface);
  for (int pass = 0; pass < kMaxPasses && region.points.size() < kMaxPoints; ++pass) {
    middles.clear();
    for (const Triangle& t : region.triangles)
      for (int k = 0; k < 3; ++k)
        if (needsSplit(t[k], t[(k + 1) % 3])) middleOf(t[k], t[(k + 1) % 3]);
    if (middles.empty()) break;
    next.clear();
    for (const Triangle& t : region.triangles) {
      int32_t m[3];
      int split = 0;
      for (int k = 0; k < 3; ++k) {
        auto it = middles.find(edgeKey(t[k], t[(k + 1) % 3]));
        m[k] = it == middles.end() ? -1 : it->second;
        split += m[k] >= 0;
      }
      if (split == 0) {
        next.push_back(t);
      } else if (split == 3) {
        next.push_back({t[0], m[0], m[2]});
        next.push_back({m[0], t[1], m[1]});
        next.push_back({m[2], m[1], t[2]});
        next.push_back({m[0], m[1], m[2]});
      } else {
        // Turn the triangle so that its first edge is split and, with two,
        // the second too.
        int r = 0;
        while (m[r] < 0 || (split == 2 && m[(r + 1) % 3] < 0)) ++r;
        int32_t a = t[r], b = t[(r + 1) % 3], c = t[(r + 2) % 3];
        int32_t ab = m[r], bc = m[(r + 1) % 3];
        if (split == 1) {
          next.push_back({a, ab, c});
          next.push_back({ab, b, c});
        } else {
          next.push_back({ab, b, bc});
          next.push_back({a, ab, bc});
          next.push_back({a, bc, c});
        }
      }
    }
    region.triangles.swap(next);
  }
  for (size_t i = 0; i < region.points.size(); ++i)
    if (region.ids[i] < 0) region.ids[i] = mesh.addVertex(surface.point(region.points[i].u, region.points[i].v));
}

}  // namespace acre_detail
