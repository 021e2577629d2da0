#include "param_delaunay.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

#include "param_refinement.h"

namespace render {

namespace {

// A walk toward a point gives up after this many triangles and searches all.
constexpr int kMaxWalk = 4096;
constexpr int64_t kMaxFlipsPerTriangle = 64;
constexpr int64_t kGridAllowance = 100'000;
// Grid points closer than this share of the spacing to a corner are left out.
constexpr double kCrowded = 0.35;

double cross(const Vec2& a, const Vec2& b, const Vec2& c) {
  return (b.u - a.u) * (c.v - a.v) - (c.u - a.u) * (b.v - a.v);
}

// Whether d lies inside the circle through a, b, c (counter-clockwise).
bool inCircle(const Vec2& a, const Vec2& b, const Vec2& c, const Vec2& d) {
  double ax = a.u - d.u, ay = a.v - d.v, bx = b.u - d.u, by = b.v - d.v, cx = c.u - d.u, cy = c.v - d.v;
  double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
  double det = a2 * (bx * cy - cx * by) - b2 * (ax * cy - cx * ay) + c2 * (ax * by - bx * ay);
  double scale = a2 + b2 + c2;
  return det > 1e-12 * scale * scale;
}

// Parameters drawn to the surface's scale about a place on it: u and v
// steps there become as long as the distances they cover on the surface.
struct LocalMetric {
  Vec2 du{1, 0}, dv{0, 1};
  Vec2 operator()(const Vec2& p) const { return {du.u * p.u + dv.u * p.v, du.v * p.u + dv.v * p.v}; }
};

LocalMetric metricAt(const ParamSurface& surface, const Vec2& at, double h) {
  Vec3 su = (surface.point(at.u + h, at.v) - surface.point(at.u - h, at.v)) * (0.5 / h);
  Vec3 sv = (surface.point(at.u, at.v + h) - surface.point(at.u, at.v - h)) * (0.5 / h);
  double lu = su.length();
  if (!(lu > 0)) return {};
  Vec3 e1 = su * (1 / lu);
  double across = (sv - e1 * sv.dot(e1)).length();
  if (!(across > 0)) return {};
  return {{lu, 0}, {sv.dot(e1), across}};
}

class Delaunay {
 public:
  Delaunay(ParamMesh& region, const std::vector<uint64_t>& boundary, const ParamSurface& surface)
      : m_region(region), m_boundary(boundary), m_surface(surface) {
    for (int32_t t = 0; t < static_cast<int32_t>(triangles().size()); ++t) link(t);
  }

  void legalizeAll() {
    for (const auto& entry : m_sides) m_pending.push_back(entry.first);
    legalize();
  }

  // Adds a point inside the region, unless it falls outside or crowds a
  // corner.
  void insert(const Vec2& p, double du, double dv) {
    int32_t t = locate(p);
    if (t < 0) return;
    Triangle old = triangles()[t];
    for (int32_t corner : old) {
      const Vec2& q = points()[corner];
      if (std::hypot((q.u - p.u) / du, (q.v - p.v) / dv) < kCrowded) return;
    }
    int32_t n = static_cast<int32_t>(points().size());
    points().push_back(p);
    m_region.ids.push_back(-1);
    unlink(t);
    triangles()[t] = {old[0], old[1], n};
    triangles().push_back({old[1], old[2], n});
    triangles().push_back({old[2], old[0], n});
    int32_t count = static_cast<int32_t>(triangles().size());
    for (int32_t k : {t, count - 2, count - 1}) link(k);
    m_hint = t;
    for (int k = 0; k < 3; ++k) m_pending.push_back(edgeKey(old[k], old[(k + 1) % 3]));
    legalize();
  }

 private:
  std::vector<Triangle>& triangles() { return m_region.triangles; }
  std::vector<Vec2>& points() { return m_region.points; }

  void link(int32_t t) {
    const Triangle& tri = triangles()[t];
    for (int k = 0; k < 3; ++k) {
      auto [it, fresh] = m_sides.try_emplace(edgeKey(tri[k], tri[(k + 1) % 3]), std::array<int32_t, 2>{t, -1});
      if (!fresh) (it->second[0] < 0 ? it->second[0] : it->second[1]) = t;
    }
  }
  void unlink(int32_t t) {
    const Triangle& tri = triangles()[t];
    for (int k = 0; k < 3; ++k) {
      auto it = m_sides.find(edgeKey(tri[k], tri[(k + 1) % 3]));
      if (it == m_sides.end()) continue;
      for (int32_t& side : it->second)
        if (side == t) side = -1;
    }
  }
  // The triangle on the other side of an edge of t, or -1.
  int32_t across(int32_t t, int32_t a, int32_t b) const {
    auto it = m_sides.find(edgeKey(a, b));
    if (it == m_sides.end()) return -1;
    return it->second[0] == t ? it->second[1] : it->second[0];
  }
  bool contains(int32_t t, const Vec2& p) {
    const Triangle& tri = triangles()[t];
    for (int k = 0; k < 3; ++k)
      if (!(cross(points()[tri[k]], points()[tri[(k + 1) % 3]], p) > 0)) return false;
    return true;
  }

  // The triangle that holds p strictly inside, or -1.
  int32_t locate(const Vec2& p) {
    int32_t t = m_hint >= 0 && m_hint < static_cast<int32_t>(triangles().size()) ? m_hint : 0;
    for (int step = 0; step < kMaxWalk && t >= 0; ++step) {
      const Triangle& tri = triangles()[t];
      int32_t next = -2;
      for (int k = 0; k < 3 && next == -2; ++k)
        if (cross(points()[tri[k]], points()[tri[(k + 1) % 3]], p) < 0) next = across(t, tri[k], tri[(k + 1) % 3]);
      if (next == -2) return contains(t, p) ? t : -1;
      t = next;
    }
    for (int32_t k = 0; k < static_cast<int32_t>(triangles().size()); ++k)
      if (contains(k, p)) return k;
    return -1;
  }

  void legalize() {
    while (!m_pending.empty() && m_flipsLeft > 0) {
      uint64_t key = m_pending.back();
      m_pending.pop_back();
      if (std::binary_search(m_boundary.begin(), m_boundary.end(), key)) continue;
      auto it = m_sides.find(key);
      if (it == m_sides.end() || it->second[0] < 0 || it->second[1] < 0) continue;
      int32_t t1 = it->second[0], t2 = it->second[1];
      int32_t a = static_cast<int32_t>(key >> 32), b = static_cast<int32_t>(key & 0xffffffffu);
      int32_t c = -1, d = -1;
      if (!opposite(t1, a, b, c)) std::swap(a, b);
      if (!opposite(t1, a, b, c) || !opposite(t2, b, a, d)) continue;
      const std::vector<Vec2>& p = points();
      if (!(cross(p[c], p[a], p[d]) > 0) || !(cross(p[d], p[b], p[c]) > 0)) continue;  // not convex
      // The scale is taken at the middle of the four corners, the same for
      // either diagonal, so that a flip is never undone.
      Vec2 middle{(p[a].u + p[b].u + p[c].u + p[d].u) / 4, (p[a].v + p[b].v + p[c].v + p[d].v) / 4};
      double h = 1e-6 * (std::fabs(p[a].u - p[b].u) + std::fabs(p[a].v - p[b].v)) + 1e-9;
      LocalMetric m = metricAt(m_surface, middle, h);
      if (!inCircle(m(p[a]), m(p[b]), m(p[c]), m(p[d]))) continue;
      --m_flipsLeft;
      unlink(t1);
      unlink(t2);
      triangles()[t1] = {c, a, d};
      triangles()[t2] = {d, b, c};
      link(t1);
      link(t2);
      for (auto [x, y] : {std::pair{c, a}, {a, d}, {d, b}, {b, c}}) m_pending.push_back(edgeKey(x, y));
    }
  }

  // The corner of t across its edge from -> to, when t runs that way.
  bool opposite(int32_t t, int32_t from, int32_t to, int32_t& other) {
    const Triangle& tri = triangles()[t];
    for (int k = 0; k < 3; ++k) {
      if (tri[k] == from && tri[(k + 1) % 3] == to) {
        other = tri[(k + 2) % 3];
        return true;
      }
    }
    return false;
  }

  ParamMesh& m_region;
  const std::vector<uint64_t>& m_boundary;
  const ParamSurface& m_surface;
  std::unordered_map<uint64_t, std::array<int32_t, 2>> m_sides;
  std::vector<uint64_t> m_pending;
  int32_t m_hint = -1;
  // Flips always end on exact arithmetic; this bounds them where rounding
  // might not.
  int64_t m_flipsLeft = kMaxFlipsPerTriangle * static_cast<int64_t>(m_region.triangles.size() + kGridAllowance);
};

}  // namespace

void makeDelaunay(ParamMesh& region, const std::vector<uint64_t>& boundary, const ParamSurface& surface) {
  Delaunay(region, boundary, surface).legalizeAll();
}

void addGridPoints(ParamMesh& region, const std::vector<uint64_t>& boundary, const ParamSurface& surface, double du,
                   double dv) {
  if (region.triangles.empty()) return;
  Vec2 low{INFINITY, INFINITY}, high{-INFINITY, -INFINITY};
  for (const Vec2& p : region.points) {
    low = {std::fmin(low.u, p.u), std::fmin(low.v, p.v)};
    high = {std::fmax(high.u, p.u), std::fmax(high.v, p.v)};
  }
  Delaunay mesh(region, boundary, surface);
  mesh.legalizeAll();
  // Row by row, each row turned back on the last, so every point starts its
  // walk next to the one before.
  int64_t firstRow = static_cast<int64_t>(std::floor(low.v / dv)) + 1,
          lastRow = static_cast<int64_t>(std::ceil(high.v / dv)) - 1;
  int64_t firstColumn = static_cast<int64_t>(std::floor(low.u / du)) + 1,
          lastColumn = static_cast<int64_t>(std::ceil(high.u / du)) - 1;
  for (int64_t row = firstRow; row <= lastRow; ++row) {
    bool back = (row - firstRow) % 2 == 1;
    for (int64_t i = firstColumn; i <= lastColumn; ++i) {
      int64_t column = back ? firstColumn + lastColumn - i : i;
      mesh.insert({column * du, row * dv}, du, dv);
    }
  }
}

}  // namespace render
