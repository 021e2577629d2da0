#include "mesh.h"

#include <algorithm>

namespace render {

void Mesh::clear() {
  m_vertices.clear();
  m_forgotten = 0;
  dropPolygons();
  m_drained = false;
}

void Mesh::dropPolygons() {
  m_drained = m_drained || !m_polygons.empty();
  m_polygons.clear();
  m_pieceCount = 0;
}

void Mesh::keepVertices(size_t count) {
  if (count < vertexCount()) m_vertices.resize(count - m_forgotten);
}

bool Mesh::handOn() {
  if (!m_drain) return false;
  m_drain->take(*this);
  return true;
}

void Mesh::forgetVerticesBefore(size_t count) {
  if (count <= m_forgotten) return;
  size_t gone = std::min(count, vertexCount()) - m_forgotten;
  m_vertices.erase(m_vertices.begin(), m_vertices.begin() + static_cast<std::ptrdiff_t>(gone));
  m_forgotten += gone;
}

size_t Mesh::capacityBytes() const {
  return m_vertices.capacity() * sizeof(Vec3) + m_polygons.capacity() * sizeof(Polygon);
}

int32_t Mesh::addVertex(const Vec3& at) {
  m_vertices.push_back(at);
  return static_cast<int32_t>(vertexCount() - 1);
}

void Mesh::reserve(size_t vertices, size_t polygons) {
  m_vertices.reserve(m_vertices.size() + vertices);
  // A drained mesh holds no more than a drain's worth of polygons.
  m_polygons.reserve(m_polygons.size() + (m_drain ? std::min(polygons, kDrainAt) : polygons));
}

namespace {

// Corner numbers of one polygon. Faces have four corners, outlines may have
// many: the common case stays off the heap (a million-face mesh would
// allocate a million times).
class CornerBuffer {
 public:
  explicit CornerBuffer(size_t count) {
    if (count <= kFew) return;
    m_many.resize(count);
    m_data = m_many.data();
  }
  CornerBuffer(const CornerBuffer&) = delete;
  CornerBuffer& operator=(const CornerBuffer&) = delete;
  int32_t* data() { return m_data; }

 private:
  static constexpr size_t kFew = 8;
  int32_t m_few[kFew];
  std::vector<int32_t> m_many;
  int32_t* m_data = m_few;
};

// The numbers of `count` corners (numberAt(i)) that do not repeat the
// corner before them (nor the last the first), into `kept`; how many are
// kept. pointOf(number) is where a corner stands.
template <typename NumberAt, typename PointOf>
size_t distinctCorners(size_t count, NumberAt numberAt, PointOf pointOf, int32_t* kept) {
  size_t distinct = 0;
  for (size_t i = 0; i < count; ++i) {
    const int32_t number = numberAt(i);
    if (distinct > 0 && pointOf(kept[distinct - 1]) == pointOf(number)) continue;
    kept[distinct++] = number;
  }
  while (distinct > 1 && pointOf(kept[distinct - 1]) == pointOf(kept[0])) --distinct;
  return distinct;
}

}  // namespace

void Mesh::addPolygon(std::span<const int32_t> corners, QuadSplit split) {
  CornerBuffer buffer(corners.size());
  int32_t* kept = buffer.data();
  auto numberAt = [&](size_t i) { return corners[i]; };
  auto pointOf = [&](int32_t number) -> const Vec3& { return vertex(number); };
  addKept(kept, distinctCorners(corners.size(), numberAt, pointOf, kept), split);
}

void Mesh::addKept(const int32_t* corners, size_t count, QuadSplit split) {
  if (count > 4) addFan(std::span<const int32_t>(corners, count));
  else if (count >= 3) addFace(corners, static_cast<int32_t>(count), split);
}

void Mesh::addFan(std::span<const int32_t> corners) {
  size_t n = corners.size();
  size_t next = 1;  // the fan turns about corner 0
  while (next + 1 < n) {
    size_t take = (n - next >= 3) ? 3 : 2;
    int32_t face[4] = {corners[0]};
    for (size_t j = 0; j < take; ++j) face[j + 1] = corners[next + j];
    addFace(face, static_cast<int32_t>(take + 1), QuadSplit::Inside);
    next += take - 1;
  }
}

void Mesh::addFace(const int32_t* corners, int32_t count, QuadSplit split) {
  Polygon polygon;
  polygon.count = count;
  // Three corners or four.
  polygon.corner[0] = corners[0];
  polygon.corner[1] = corners[1];
  polygon.corner[2] = corners[2];
  if (count == 4) {
    polygon.corner[3] = corners[3];
    // A face added with its own four points is looked at where they are.
    if (corners[3] == corners[0] + 3 && corners[1] == corners[0] + 1 && corners[2] == corners[0] + 2) {
      polygon.cut = quadCut(std::span<const Vec3, 4>(&vertex(corners[0]), 4), split);
    } else {
      Vec3 points[4] = {vertex(corners[0]), vertex(corners[1]), vertex(corners[2]), vertex(corners[3])};
      polygon.cut = quadCut(points, split);
    }
  }
  push(polygon);
}

void Mesh::push(const Polygon& polygon) {
  m_polygons.push_back(polygon);
  m_pieceCount += polygon.cut == QuadCut::Whole ? 1 : 2;
  if (m_drain && m_polygons.size() >= kDrainAt) m_drain->take(*this);
}

void Mesh::addPolygon(std::span<const Vec3> points, QuadSplit split) {
  const auto first = static_cast<int32_t>(vertexCount());
  // Most polygons are faces of four corners, none repeating its neighbour:
  // all four are kept, with nothing to gather.
  if (points.size() == 4 && points[0] != points[1] && points[1] != points[2] && points[2] != points[3] &&
      points[3] != points[0]) {
    m_vertices.insert(m_vertices.end(), points.begin(), points.end());
    push({4, {first, first + 1, first + 2, first + 3}, quadCut(points.first<4>(), split)});
    return;
  }
  CornerBuffer buffer(points.size());
  int32_t* kept = buffer.data();
  // The repeated corners are told by the points given, before they are added.
  auto numberAt = [&](size_t i) { return first + static_cast<int32_t>(i); };
  auto pointOf = [&](int32_t number) -> const Vec3& { return points[static_cast<size_t>(number - first)]; };
  size_t count = distinctCorners(points.size(), numberAt, pointOf, kept);
  // Added at once: a face's four corners cost one growth check, not four.
  m_vertices.insert(m_vertices.end(), points.begin(), points.end());
  addKept(kept, count, split);
}

void Mesh::addWalls(std::span<const Vec3> path, const Vec3& sweep, bool closed) {
  size_t n = path.size();
  if (n < 2) return;
  size_t segments = closed && n > 2 ? n : n - 1;
  for (size_t i = 0; i < segments; ++i) {
    const Vec3& a = path[i];
    const Vec3& b = path[(i + 1) % n];
    Vec3 wall[4] = {a, b, b + sweep, a + sweep};
    addPolygon(wall);
  }
}

void Mesh::addCaps(std::span<const Vec3> outline, const Vec3& sweep, QuadSplit split) {
  std::vector<Vec3> top(outline.begin(), outline.end());
  std::vector<Vec3> bottom(outline.rbegin(), outline.rend());  // facing away from the top
  for (Vec3& p : top) p = p + sweep;
  // Reversed, the four corners' diagonals trade places.
  QuadSplit reversed = split == QuadSplit::FirstThird     ? QuadSplit::SecondFourth
                       : split == QuadSplit::SecondFourth ? QuadSplit::FirstThird
                                                          : split;
  addPolygon(bottom, reversed);
  addPolygon(top, split);
}

}  // namespace render
