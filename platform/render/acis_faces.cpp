// A face is cut in its surface's parameters: each loop becomes a contour
// there, unwrapped across the seams of periodic surfaces; loops that go once
// around the surface are joined into one contour, or closed over the pole
// they surround; a face without loops covers its whole closed surface. The
// contours are triangulated over their own points and the inner edges
// refined until the facets follow the surface.
#include "acis_faces.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "acis_surfaces.h"
#include "curve_segments.h"
#include "param_delaunay.h"
#include "param_refinement.h"

namespace render {

namespace {

constexpr double kTurn = 2 * std::numbers::pi;

double& coordinate(Vec2& p, int axis) { return axis == 0 ? p.u : p.v; }

// A loop in parameters: its points, and how often it goes around in u and v.
struct ParamLoop {
  std::vector<Vec2> at;
  std::vector<int32_t> ids;
  int wraps[2] = {0, 0};
  bool onPoleOnly = false;  // every point on a pole (a cone's apex)

  void shift(int axis, double by) {
    for (Vec2& p : at) coordinate(p, axis) += by;
  }
  double least(int axis) const {
    double low = INFINITY;
    for (Vec2 p : at) low = std::fmin(low, coordinate(p, axis));
    return low;
  }
  double area() const {
    double sum = 0;
    for (size_t i = 0; i < at.size(); ++i) {
      const Vec2 &p = at[i], &q = at[(i + 1) % at.size()];
      sum += p.u * q.v - q.u * p.v;
    }
    return sum / 2;
  }
};

class FaceCutter {
 public:
  FaceCutter(const ParamSurface& surface, Mesh& mesh) : m_surface(surface), m_mesh(mesh) {}

  // The loop's points (mesh vertices, region on their left) in parameters.
  ParamLoop mapLoop(const std::vector<int32_t>& ids) const {
    ParamLoop loop;
    size_t n = ids.size(), first = n;
    bool high = false;
    for (size_t i = 0; i < n && first == n; ++i)
      if (!m_surface.atPole(position(ids[i]), high)) first = i;
    if (first == n) {
      loop.onPoleOnly = true;
      return loop;
    }
    Vec2 start = m_surface.param(position(ids[first]), 0);
    Vec2 previous = start;
    bool poleOpen = false;
    double poleV = 0;
    int32_t poleId = -1;
    auto place = [&](const Vec3& p) {
      Vec2 q = m_surface.param(p, previous.u);
      if (m_surface.periodicV()) q.v = nearestTurn(q.v, previous.v);
      return q;
    };
    auto closePole = [&](double u) {
      if (!poleOpen) return;
      loop.at.push_back({u, poleV});
      loop.ids.push_back(poleId);
      poleOpen = false;
    };
    loop.at.push_back(start);
    loop.ids.push_back(ids[first]);
    for (size_t k = 1; k < n; ++k) {
      int32_t id = ids[(first + k) % n];
      if (m_surface.atPole(position(id), high)) {
        // A pole is a line in parameters: arrive at the u we came with,
        // leave at the u of the next point.
        poleV = m_surface.poleV(high);
        poleId = id;
        loop.at.push_back({previous.u, poleV});
        loop.ids.push_back(id);
        poleOpen = true;
        continue;
      }
      Vec2 q = place(position(id));
      closePole(q.u);
      loop.at.push_back(q);
      loop.ids.push_back(id);
      previous = q;
    }
    Vec2 again = place(position(ids[first]));
    closePole(again.u);
    loop.wraps[0] = static_cast<int>(std::lround((again.u - start.u) / kTurn));
    loop.wraps[1] = static_cast<int>(std::lround((again.v - start.v) / kTurn));
    return loop;
  }

  // Adds a contour of these points to the region.
  void addContour(const std::vector<Vec2>& at, const std::vector<int32_t>& ids) {
    std::vector<int32_t> contour;
    for (size_t i = 0; i < at.size(); ++i) {
      contour.push_back(static_cast<int32_t>(m_region.points.size()));
      m_region.points.push_back(at[i]);
      m_region.ids.push_back(ids[i]);
    }
    for (size_t i = 0; i < contour.size(); ++i)
      m_boundary.push_back(edgeKey(contour[i], contour[(i + 1) % contour.size()]));
    m_contours.push_back(std::move(contour));
  }

  // The cut along which a face that goes around its surface is opened: its
  // points, a step apart, lie on both sides of the opening.
  struct Seam {
    std::vector<Vec2> at;
    std::vector<int32_t> ids;

    void append(std::vector<Vec2>& to, std::vector<int32_t>& toIds, int axis, double shift) const {
      for (size_t k = 0; k < at.size(); ++k) push(to, toIds, k, axis, shift);
    }
    void appendBack(std::vector<Vec2>& to, std::vector<int32_t>& toIds, int axis, double shift) const {
      for (size_t k = at.size(); k-- > 0;) push(to, toIds, k, axis, shift);
    }

   private:
    void push(std::vector<Vec2>& to, std::vector<int32_t>& toIds, size_t k, int axis, double shift) const {
      Vec2 p = at[k];
      coordinate(p, axis) += shift;
      to.push_back(p);
      toIds.push_back(ids[k]);
    }
  };

  // The points strictly between two ends of a cut, as many as the turn of
  // the surface's normal along it needs.
  Seam cutSeam(const Vec2& from, const Vec2& to) {
    double turn = std::acos(
        std::fmax(-1.0, std::fmin(1.0, m_surface.normal(from.u, from.v).dot(m_surface.normal(to.u, to.v)))));
    int pieces = segmentsFor(turn);
    Seam seam;
    for (int k = 1; k < pieces; ++k) {
      Vec2 p{from.u + (to.u - from.u) * k / pieces, from.v + (to.v - from.v) * k / pieces};
      seam.at.push_back(p);
      seam.ids.push_back(m_mesh.addVertex(m_surface.point(p.u, p.v)));
    }
    return seam;
  }

  // Two loops that go around in opposite directions along `axis` bound a
  // band: one contour runs along the first, across to the second, back
  // along it and across again.
  void addBand(const ParamLoop& forward, ParamLoop backward, int axis) {
    int other = 1 - axis;
    Vec2 a0 = forward.at[0];
    double end = coordinate(a0, axis) + kTurn;
    if (otherPeriodic(axis)) {
      // The region lies left of the forward loop: +v when it runs along u,
      // -u when it runs along v; the backward loop goes within a turn there.
      double side = axis == 0 ? 1 : -1;
      double gap = side * (coordinate(backward.at[0], other) - coordinate(a0, other));
      double wanted = gap - kTurn * std::floor(gap / kTurn);
      if (wanted == 0) wanted = kTurn;
      backward.shift(other, side * (wanted - gap));
    }
    // Start the backward loop at its point nearest the forward loop's end.
    size_t best = 0;
    double bestGap = INFINITY;
    for (size_t i = 0; i < backward.at.size(); ++i) {
      Vec2 p = backward.at[i];
      double c = nearestTurn(coordinate(p, axis), end);
      if (std::fabs(c - end) < bestGap) {
        bestGap = std::fabs(c - end);
        best = i;
      }
    }
    Vec2 b0 = backward.at[best];
    backward.shift(axis, nearestTurn(coordinate(b0, axis), end) - coordinate(b0, axis));
    std::vector<Vec2> at(forward.at);
    std::vector<int32_t> ids(forward.ids);
    Vec2 closing = a0;
    coordinate(closing, axis) = end;
    at.push_back(closing);
    ids.push_back(forward.ids[0]);
    Seam seam = cutSeam(closing, backward.at[best]);
    seam.append(at, ids, axis, 0);
    size_t n = backward.at.size();
    for (size_t k = 0; k <= n; ++k) {
      Vec2 p = backward.at[(best + k) % n];
      if (best + k >= n) coordinate(p, axis) -= kTurn;
      at.push_back(p);
      ids.push_back(backward.ids[(best + k) % n]);
    }
    seam.appendBack(at, ids, axis, -kTurn);
    addContour(at, ids);
  }

  // One loop around the u direction closed over the pole it surrounds.
  bool addCap(const ParamLoop& loop) {
    bool high = loop.wraps[0] > 0;  // the region lies left: above a loop running along +u
    if (!m_surface.hasPole(high)) return false;
    double poleV = m_surface.poleV(high);
    int32_t pole = m_mesh.addVertex(m_surface.point(0, poleV));
    std::vector<Vec2> at(loop.at);
    std::vector<int32_t> ids(loop.ids);
    double turn = loop.wraps[0] * kTurn;
    Vec2 closing{loop.at[0].u + turn, loop.at[0].v};
    at.push_back(closing);
    ids.push_back(loop.ids[0]);
    Seam seam = cutSeam(closing, {closing.u, poleV});
    seam.append(at, ids, 0, 0);
    for (size_t k = loop.at.size() + 1; k-- > 0;) {
      at.push_back({k == loop.at.size() ? closing.u : loop.at[k].u, poleV});
      ids.push_back(pole);
    }
    seam.appendBack(at, ids, 0, -turn);
    addContour(at, ids);
    return true;
  }

  // Moves a loop that does not go around to the sheet where u (and v) start
  // at or after `reference`.
  void toSheet(ParamLoop& loop, const Vec2& reference) const {
    for (int axis = 0; axis < 2; ++axis) {
      if (!(axis == 0 ? m_surface.periodicU() : m_surface.periodicV())) continue;
      double low = loop.least(axis), ref = axis == 0 ? reference.u : reference.v;
      loop.shift(axis, kTurn * std::floor((ref + 1e-9 - low) / kTurn + 1));
      if (loop.least(axis) >= ref + kTurn - 1e-9) loop.shift(axis, -kTurn);
    }
  }

  // A closed surface without loops: a grid over all its parameters, whose
  // last row and column are its first where they meet again.
  void addWholeSurface() {
    int nu = kSegmentsPerTurn;
    int nv = m_surface.periodicV() ? kSegmentsPerTurn : kSegmentsPerTurn / 2;
    double v0 = m_surface.lowV(), v1 = m_surface.highV();
    std::vector<int32_t> grid((nu + 1) * (nv + 1));
    for (int j = 0; j <= nv; ++j) {
      for (int i = 0; i <= nu; ++i) {
        int32_t& id = grid[j * (nu + 1) + i];
        bool pole = !m_surface.periodicV() && (j == 0 || j == nv);
        if (i == nu) id = grid[j * (nu + 1)];
        else if (j == nv && m_surface.periodicV()) id = grid[i];
        else if (pole && i > 0) id = grid[j * (nu + 1)];
        else id = m_mesh.addVertex(m_surface.point(kTurn * i / nu, v0 + (v1 - v0) * j / nv));
      }
    }
    for (int j = 0; j < nv; ++j) {
      for (int i = 0; i < nu; ++i) {
        int32_t a = grid[j * (nu + 1) + i], b = grid[j * (nu + 1) + i + 1];
        int32_t c = grid[(j + 1) * (nu + 1) + i + 1], d = grid[(j + 1) * (nu + 1) + i];
        m_triangles.push_back({a, b, c});
        m_triangles.push_back({a, c, d});
      }
    }
  }

  bool cutRegion() {
    if (!triangulateRegion(m_region.points, m_contours, m_region.triangles)) return false;
    m_region.ids.resize(m_region.points.size(), -1);
    std::sort(m_boundary.begin(), m_boundary.end());
    if (m_surface.bendsBothWays()) addGridPoints(m_region, m_boundary, m_surface, kSegmentStep, kSegmentStep);
    else if (!m_surface.flat()) makeDelaunay(m_region, m_boundary, m_surface);
    refine(m_region, m_boundary, m_surface, m_mesh);
    for (const Triangle& t : m_region.triangles)
      m_triangles.push_back({m_region.ids[t[0]], m_region.ids[t[1]], m_region.ids[t[2]]});
    return true;
  }

  bool empty() const { return m_triangles.empty(); }

  // Hands the triangles to the mesh, turned round when du x dv points inward.
  void emit(bool turned) {
    for (Triangle t : m_triangles) {
      if (turned) std::swap(t[1], t[2]);
      m_mesh.addPolygon(std::span<const int32_t>(t.data(), 3));
    }
  }

 private:
  Vec3 position(int32_t id) const { return m_mesh.vertices()[id]; }
  bool otherPeriodic(int axis) const { return axis == 0 ? m_surface.periodicV() : m_surface.periodicU(); }

  const ParamSurface& m_surface;
  Mesh& m_mesh;
  ParamMesh m_region;
  std::vector<std::vector<int32_t>> m_contours;
  std::vector<uint64_t> m_boundary;
  std::vector<Triangle> m_triangles;  // in mesh vertices
};

// The mesh vertices of a loop in the order it runs; false when an edge of
// it could not be cut.
bool loopPoints(const acis::Loop& loop, const BodyPoints& points, std::vector<int32_t>& ids) {
  for (const acis::Coedge& coedge : loop.coedges) {
    if (coedge.edge < 0 || coedge.edge >= static_cast<int32_t>(points.edges.size())) return false;
    const std::vector<int32_t>& edge = points.edges[coedge.edge];
    if (edge.empty()) return false;
    size_t n = edge.size();
    for (size_t i = 0; i < n; ++i) {
      int32_t id = edge[coedge.reversed ? n - 1 - i : i];
      if (ids.empty() || ids.back() != id) ids.push_back(id);
    }
  }
  while (ids.size() > 1 && ids.back() == ids.front()) ids.pop_back();
  return true;
}

}  // namespace

bool cutFace(const acis::Body& body, const acis::Face& face, const BodyPoints& points, Mesh& mesh,
             std::string& reason) {
  if (!face.supported) {
    reason = face.reason;
    return false;
  }
  if (face.surface < 0 || face.surface >= static_cast<int32_t>(body.surfaces.size())) {
    reason = "no surface";
    return false;
  }
  std::optional<ParamSurface> surface = ParamSurface::of(body.surfaces[face.surface]);
  if (!surface) {
    const std::string& why = body.surfaces[face.surface].reason;
    reason = why.empty() ? "a surface that cannot be followed" : why;
    return false;
  }
  // Loops run counter-clockwise about the face's normal; in parameters whose
  // du x dv points the other way they are turned round, so that the face
  // always lies on their left.
  bool turned = surface->outwardSign() * (face.reversed ? -1 : 1) < 0;
  FaceCutter cutter(*surface, mesh);
  std::vector<ParamLoop> closedLoops, around[2][2];  // [axis][backward]
  for (const acis::Loop& loop : face.loops) {
    std::vector<int32_t> ids;
    if (!loopPoints(loop, points, ids)) {
      reason = "an edge whose curve cannot be followed";
      return false;
    }
    if (turned) std::reverse(ids.begin(), ids.end());
    if (ids.size() < 2) continue;  // a single point: an apex
    ParamLoop mapped = cutter.mapLoop(ids);
    if (mapped.onPoleOnly) continue;
    if (mapped.wraps[0] != 0 && mapped.wraps[1] != 0) {
      reason = "a loop that winds around the surface both ways";
      return false;
    }
    if (mapped.wraps[0] == 0 && mapped.wraps[1] == 0) closedLoops.push_back(std::move(mapped));
    else {
      int axis = mapped.wraps[0] != 0 ? 0 : 1;
      around[axis][mapped.wraps[axis] < 0].push_back(std::move(mapped));
    }
  }
  if (face.loops.empty()) {
    if (!surface->closed()) {
      reason = "an open surface without a boundary";
      return false;
    }
    cutter.addWholeSurface();
    cutter.emit(turned);
    return true;
  }
  Vec2 reference{INFINITY, INFINITY};
  int axis = around[0][0].empty() && around[0][1].empty() ? 1 : 0;
  std::vector<ParamLoop>& forward = around[axis][0];
  std::vector<ParamLoop>& backward = around[axis][1];
  if (!around[1 - axis][0].empty() || !around[1 - axis][1].empty() || forward.size() > 1 || backward.size() > 1) {
    reason = "loops around the surface in more ways than one band";
    return false;
  }
  if (forward.size() == 1 && backward.size() == 1) {
    cutter.addBand(forward[0], backward[0], axis);
    reference = forward[0].at[0];
  } else if (forward.size() + backward.size() == 1) {
    const ParamLoop& only = forward.empty() ? backward[0] : forward[0];
    if (axis != 0 || !cutter.addCap(only)) {
      reason = "a loop around the surface that closes over no pole";
      return false;
    }
    reference = only.at[0];
    if (only.wraps[0] < 0) reference.u -= kTurn;
  } else if (!closedLoops.empty()) {
    // The outer loop is the one of the largest area; the others are holes.
    auto outer = std::max_element(closedLoops.begin(), closedLoops.end(),
                                  [](const ParamLoop& a, const ParamLoop& b) { return a.area() < b.area(); });
    reference = {outer->least(0), outer->least(1)};
  }
  for (ParamLoop& loop : closedLoops) {
    if (std::isfinite(reference.u)) cutter.toSheet(loop, reference);
    cutter.addContour(loop.at, loop.ids);
  }
  if (!cutter.cutRegion()) {
    reason = "boundary loops that do not bound a region";
    return false;
  }
  // Loops that run the wrong way about the face's side enclose nothing.
  if (cutter.empty()) {
    reason = "loops that enclose nothing on the face's side";
    return false;
  }
  cutter.emit(turned);
  return true;
}

}  // namespace render
