#include "param_refinement.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "curve_segments.h"

namespace render {

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
  // A step each way along the parameters leaves a facet's diagonal the
  // square root of two steps.
  double limit = std::cos(kSegmentStep * std::sqrt(2.0) * (1 + 1e-6));
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

}  // namespace render
