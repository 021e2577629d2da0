// POLYLINE in its four forms: polyface mesh, polygon mesh, 3D polyline (no
// surface) and 2D polyline (walls when it has thickness, a strip when wide).
#include "entity_builders.h"
#include "polyface_records.h"
#include "tag_reader.h"
#include "thick_outline.h"

namespace render {

namespace {
constexpr int64_t kClosed = 1;     // closed outline, or mesh closed in M
constexpr int64_t kSplineFit = 4;  // smoothed mesh: fit vertices were added
constexpr int64_t kPolyline3d = 8;
constexpr int64_t kPolygonMesh = 16;
constexpr int64_t kClosedN = 32;  // mesh closed in N

// Sides beyond this are no grid any drawing holds; they are refused before
// their product is formed.
constexpr int64_t kMaxGridSide = 1'000'000;

bool gridMatches(int64_t m, int64_t n, size_t vertices) {
  return m >= 2 && n >= 2 && m <= kMaxGridSide && n <= kMaxGridSide && static_cast<uint64_t>(m * n) == vertices;
}

constexpr int64_t kVertexFrameControl = 16;  // a control point of a spline or smoothed mesh

// Hands each vertex to `take` with its point and whether it is a frame
// point of a spline or smoothed mesh; eInvalidInput when a vertex cannot be
// read or `take` refuses it.
template <typename Take>
Acad::ErrorStatus forEachVertex(const EntityView& entity, Take take) {
  VertexWalk walk(entity);
  for (TagSpan vertex; walk.next(vertex);) {
    TagReader tags(vertex);
    Vec3 at = tags.point(10);
    int64_t flags = tags.integer(70);
    if (!tags.valid() || !take(tags, at, (flags & kVertexFrameControl) != 0)) return Acad::eInvalidInput;
  }
  return walk.failed() ? Acad::eInvalidInput : Acad::eOk;
}

// A coordinate of a polyface's point: none is 0, as TagReader reads it.
bool readCoordinate(std::string_view text, double& value) {
  value = 0;
  return text.data() == nullptr || TagReader::parseReal(text, value);
}

Acad::ErrorStatus buildPolyface(const EntityView& entity, Mesh& mesh) {
  if (entity.polyface.read) {
    // The points all come first: the mesh's batches place a vertex where a
    // polygon first uses it, whenever it was added. A point that is not a
    // number refuses the mesh, as its record does read in turn.
    for (const PolyfaceParts::Point& point : entity.polyface.points) {
      Vec3 at;
      if (!readCoordinate(point.x, at.x) || !readCoordinate(point.y, at.y) || !readCoordinate(point.z, at.z))
        return Acad::eInvalidInput;
      mesh.addVertex(at);
    }
    for (const PolyfaceParts::Face& face : entity.polyface.faces)
      mesh.addPolygon(std::span<const int32_t>(face.corner, static_cast<size_t>(face.count)));
    return Acad::eOk;
  }
  uint64_t vertexCount = 0;
  PolyfaceRecords records(entity);
  while (const PolyfaceRecord* record = records.next()) {
    if (!record->valid) return Acad::eInvalidInput;
    if (record->isVertex) {
      mesh.addVertex(record->at);
      ++vertexCount;
      continue;
    }
    int32_t corners[4];
    int count = faceCorners(*record, vertexCount, corners);
    if (count > 0) mesh.addPolygon(std::span<const int32_t>(corners, static_cast<size_t>(count)));
  }
  return records.failed() ? Acad::eInvalidInput : Acad::eOk;
}

// The faces between grid rows `row` and `row` + 1 (the first row again after
// the last) of a grid of m rows of n vertices from mesh vertex `first`.
void addGridRow(Mesh& mesh, int32_t first, int64_t row, int64_t m, int64_t n, bool closedN) {
  int64_t columns = closedN && n > 2 ? n : n - 1;
  auto at = [&](int64_t r, int64_t c) { return static_cast<int32_t>(first + (r % m) * n + c % n); };
  for (int64_t j = 0; j < columns; ++j) {
    int32_t quad[4] = {at(row, j), at(row, j + 1), at(row + 1, j + 1), at(row + 1, j)};
    mesh.addPolygon(quad);
  }
}

// A grid of m rows of n vertices, row after row from mesh vertex `first`;
// closed directions join their last row or column to the first.
void addGrid(Mesh& mesh, int32_t first, int64_t m, int64_t n, bool closedM, bool closedN) {
  int64_t rows = closedM && m > 2 ? m : m - 1;
  int64_t columns = closedN && n > 2 ? n : n - 1;
  mesh.reserve(0, static_cast<size_t>(rows * columns));
  for (int64_t i = 0; i < rows; ++i) addGridRow(mesh, first, i, m, n, closedN);
}

// A mesh whose vertices are streamed from the drawing file is built as they
// come: each row of faces is handed on once the row after it is read, and
// the row before is forgotten, so two rows are held of a million vertices.
// Only a plain mesh open in M goes so: the others choose their grid or join
// their rows when all is read. Its vertices must all be grid vertices.
bool streamsItsGrid(const EntityView& entity, int64_t flags, int64_t m, int64_t n, const Mesh& mesh) {
  return entity.streamed.source && !(flags & (kSplineFit | kClosed)) && gridMatches(m, n, size_t(m) * size_t(n)) &&
         mesh.drains();
}

Acad::ErrorStatus streamGrid(const EntityView& entity, int64_t m, int64_t n, bool closedN, Mesh& mesh) {
  const size_t first = mesh.vertexCount();
  size_t read = 0;
  const size_t all = size_t(m) * size_t(n);
  Acad::ErrorStatus status = forEachVertex(entity, [&](TagReader&, const Vec3& at, bool frame) {
    if (frame || read == all) return false;
    mesh.addVertex(at);
    if (++read % size_t(n) != 0 || read < 2 * size_t(n)) return true;
    int64_t row = static_cast<int64_t>(read / size_t(n)) - 2;
    addGridRow(mesh, static_cast<int32_t>(first), row, m, n, closedN);
    mesh.handOn();
    mesh.forgetVerticesBefore(first + size_t(row + 1) * size_t(n));
    return true;
  });
  if (status != Acad::eOk) return status;
  return read == all ? Acad::eOk : Acad::eInvalidInput;
}

// The fit vertices are read into the mesh as they come, the frame's control
// points beside it: a mesh of a million vertices is not held twice.
Acad::ErrorStatus buildPolygonMesh(const EntityView& entity, int64_t flags, TagReader& head, Mesh& mesh) {
  int64_t m = head.integer(71);
  int64_t n = head.integer(72);
  int64_t densityM = head.integer(73);
  int64_t densityN = head.integer(74);
  int64_t surface = head.integer(75);
  if (!head.valid()) return Acad::eInvalidInput;
  bool closedM = flags & kClosed;
  bool closedN = flags & kClosedN;
  if (streamsItsGrid(entity, flags, m, n, mesh)) return streamGrid(entity, m, n, closedN, mesh);
  const size_t first = mesh.vertexCount();
  std::vector<Vec3> control;
  Acad::ErrorStatus read = forEachVertex(entity, [&](TagReader&, const Vec3& at, bool frame) {
    if (frame) control.push_back(at);
    else mesh.addVertex(at);
    return true;
  });
  if (read != Acad::eOk) return read;
  const size_t fitCount = mesh.vertexCount() - first;
  // A smoothed mesh holds its surface as a grid of density M by density N
  // fit vertices beside the control points it was fitted to.
  bool smoothed = (flags & kSplineFit) && (surface == 5 || surface == 6 || surface == 8);
  if (smoothed && gridMatches(densityM, densityN, fitCount)) {
    addGrid(mesh, static_cast<int32_t>(first), densityM, densityN, closedM, closedN);
    return Acad::eOk;
  }
  if (!control.empty()) {
    mesh.keepVertices(first);
    mesh.reserve(control.size(), 0);
    for (const Vec3& p : control) mesh.addVertex(p);
  }
  if (!gridMatches(m, n, mesh.vertexCount() - first)) return Acad::eInvalidInput;
  addGrid(mesh, static_cast<int32_t>(first), m, n, closedM, closedN);
  return Acad::eOk;
}

// A 2D polyline's vertices carry their own widths (40, 41), the polyline
// the widths of those that do not.
Acad::ErrorStatus buildFlatPolyline(const EntityView& entity, int64_t flags, TagReader& head, Mesh& mesh) {
  Affine toWorld;
  if (!objectToWorld(head.extrusion(), toWorld)) return Acad::eInvalidInput;
  double elevation = head.point(10).z;
  double thickness = head.real(39);
  double startWidth = head.real(40);
  double endWidth = head.real(41);
  if (!head.valid()) return Acad::eInvalidInput;
  std::vector<OutlineVertex> outline;
  Acad::ErrorStatus read = forEachVertex(entity, [&](TagReader& tags, const Vec3& at, bool frame) {
    if (frame) return true;  // the spline's frame, not its curve
    outline.push_back({at.x, at.y, tags.real(42), tags.real(40, startWidth), tags.real(41, endWidth)});
    return tags.valid();
  });
  if (read != Acad::eOk) return read;
  buildOutline(outline, flags & kClosed, elevation, thickness, toWorld, mesh);
  return Acad::eOk;
}
}  // namespace

Acad::ErrorStatus buildPolyline(const EntityView& entity, Mesh& mesh) {
  TagReader head(entity.tags);
  int64_t flags = head.integer(70);
  if (!head.valid()) return Acad::eInvalidInput;
  if (flags & kPolyfaceMesh) return buildPolyface(entity, mesh);
  if (flags & kPolygonMesh) return buildPolygonMesh(entity, flags, head, mesh);
  if (flags & kPolyline3d) return Acad::eOk;  // a space curve has no surface
  return buildFlatPolyline(entity, flags, head, mesh);
}

}  // namespace render
