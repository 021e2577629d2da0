#include "acis/body_builder.h"

#include <cmath>
#include <numbers>

#include "acis/cursor.h"
#include "acis/geometry_records.h"

namespace acis::detail {

namespace {

using acis::Vec3;

constexpr int kMaxSubshellDepth = 64;

// A type name is its class's, or a derived class's ending in "-" + it
// ("tedge-edge").
bool isOfType(std::string_view type, std::string_view name) {
  return type == name ||
         (type.size() > name.size() && type.ends_with(name) && type[type.size() - name.size() - 1] == '-');
}

// The parameter of `point` on a curve, in the curve's own direction.
double curveParameter(const acis::Curve& curve, const Vec3& point) {
  if (curve.kind == acis::CurveKind::Straight) {
    return (point - curve.root).dot(curve.direction) / curve.direction.dot(curve.direction);
  }
  const Vec3 d = point - curve.center;
  const Vec3 minor = curve.normal.cross(curve.majorAxis) * curve.ratio;
  return std::atan2(d.dot(minor) / minor.dot(minor), d.dot(curve.majorAxis) / curve.majorAxis.dot(curve.majorAxis));
}

class BodyBuilder {
 public:
  explicit BodyBuilder(const RawModel& model)
      : m_model(model), m_geometry(model), m_index(model.records.size(), -1), m_visited(model.records.size(), false) {}

  acis::ParseResult build() {
    acis::ParseResult result;
    result.version = m_model.version;
    bool transformRead = false;
    for (uint32_t r = 0; r < m_model.records.size(); ++r) {
      if (m_model.records[r].type != "body") continue;
      Cursor in = cursor(r);
      int64_t lump = -1, wire = -1, transform = -1;
      if (!in.entityPrefix() || !in.pointer(lump) || !in.pointer(wire) || !in.pointer(transform)) {
        result.error = "a body record is damaged";
        return result;
      }
      if (transform >= 0 && !transformRead) {
        if (!readTransform(transform, m_body.transform)) {
          result.error = "the body's transform is damaged";
          return result;
        }
        transformRead = true;
      }
      readLumps(lump);
    }
    m_body.isSolid = isClosedSolid();
    result.ok = true;
    result.body = std::move(m_body);
    return result;
  }

 private:
  Cursor cursor(int64_t record) const {
    return Cursor(m_model.tokensOf(m_model.records[static_cast<size_t>(record)]), m_model.version);
  }
  bool is(int64_t record, std::string_view type) const {
    return record >= 0 && record < static_cast<int64_t>(m_model.records.size()) &&
           isOfType(m_model.records[static_cast<size_t>(record)].type, type);
  }
  // Lists run through "next" pointers; a record seen before ends them, so a
  // cycle cannot hold the reader.
  bool firstVisit(int64_t record) {
    if (m_visited[static_cast<size_t>(record)]) return false;
    m_visited[static_cast<size_t>(record)] = true;
    return true;
  }

  bool readTransform(int64_t record, acis::Transform& t) {
    if (!is(record, "transform")) return false;
    Cursor in = cursor(record);
    int64_t ignored = 0;
    if (!in.pointer(ignored) || (m_model.version >= 700 && !in.integer(ignored))) return false;
    // Some binary writers keep the whole transform as one line of text.
    std::vector<Token> literal;
    std::string_view text;
    if (in.peekIs(TokenKind::String) && in.word(text)) {
      tokenizeSatFields(text, literal);
      in = Cursor(literal, m_model.version);
    }
    return in.vec3(t.rows[0]) && in.vec3(t.rows[1]) && in.vec3(t.rows[2]) && in.vec3(t.translation) &&
           in.real(t.scale) && in.flag("no_rotate", "rotate", t.rotate) &&
           in.flag("no_reflect", "reflect", t.reflect) && in.flag("no_shear", "shear", t.shear) && t.scale != 0;
  }

  void readLumps(int64_t lump) {
    while (lump >= 0) {
      if (!is(lump, "lump")) return damagedList("lump");
      if (!firstVisit(lump)) return;
      Cursor in = cursor(lump);
      int64_t next = -1, shell = -1;
      if (!in.entityPrefix() || !in.pointer(next) || !in.pointer(shell)) return damagedList("lump");
      readShells(shell, m_lumps++);
      lump = next;
    }
  }

  void readShells(int64_t shell, int32_t lump) {
    while (shell >= 0) {
      if (!is(shell, "shell")) return damagedList("shell");
      if (!firstVisit(shell)) return;
      Cursor in = cursor(shell);
      int64_t next = -1, subshell = -1, face = -1;
      if (!in.entityPrefix() || !in.pointer(next) || !in.pointer(subshell) || !in.pointer(face))
        return damagedList("shell");
      acis::Shell entry{lump, static_cast<int32_t>(m_body.faces.size()), 0};
      m_inShell = true;
      readFaces(face);
      readSubshells(subshell, 0);
      m_inShell = false;
      entry.faceCount = static_cast<int32_t>(m_body.faces.size()) - entry.firstFace;
      m_body.shells.push_back(entry);
      shell = next;
    }
  }

  // Subshells nest; their faces belong to the shell above them.
  void readSubshells(int64_t subshell, int depth) {
    while (subshell >= 0) {
      if (!is(subshell, "subshell") || depth >= kMaxSubshellDepth) return damagedList("subshell");
      if (!firstVisit(subshell)) return;
      Cursor in = cursor(subshell);
      int64_t parent = -1, next = -1, child = -1, face = -1;
      if (!in.entityPrefix() || !in.pointer(parent) || !in.pointer(next) || !in.pointer(child) || !in.pointer(face))
        return damagedList("subshell");
      readFaces(face);
      readSubshells(child, depth + 1);
      subshell = next;
    }
  }

  void readFaces(int64_t face) {
    while (face >= 0) {
      if (!is(face, "face")) return damagedList("face");
      if (!firstVisit(face)) return;
      Cursor in = cursor(face);
      int64_t next = -1;
      if (!in.entityPrefix() || !in.pointer(next)) return damagedList("face");
      m_body.faces.push_back(readFace(in));
      face = next;
    }
  }

  // A list whose next pointer is damaged loses what follows; that loss is
  // shown as a face that cannot be read, in a shell of its own when no
  // shell was being read.
  void damagedList(std::string_view what) {
    acis::Face lost;
    lost.supported = false;
    lost.reason = "the " + std::string(what) + " list is damaged";
    if (!m_inShell) m_body.shells.push_back({m_lumps, static_cast<int32_t>(m_body.faces.size()), 1});
    m_body.faces.push_back(std::move(lost));
  }

  acis::Face readFace(Cursor& in) {
    acis::Face face;
    int64_t loop = -1, shell = -1, subshell = -1, surface = -1;
    if (!in.pointer(loop) || !in.pointer(shell) || !in.pointer(subshell) || !in.pointer(surface) ||
        !in.flag("forward", "reversed", face.reversed) || !in.flag("single", "double", face.doubleSided))
      return unsupported(std::move(face), "damaged face record");
    if (!is(surface, "surface")) return unsupported(std::move(face), "the face has no surface");
    face.surface = surfaceIndex(surface);
    const acis::Surface& s = m_body.surfaces[static_cast<size_t>(face.surface)];
    if (s.kind == acis::SurfaceKind::Unsupported) return unsupported(std::move(face), s.reason);
    int64_t loops = 0;
    while (loop >= 0) {
      if (!is(loop, "loop") || ++loops > static_cast<int64_t>(m_model.records.size()))
        return unsupported(std::move(face), "damaged loop list");
      acis::Loop entry;
      int64_t next = -1;
      if (!readLoop(loop, entry, next)) return unsupported(std::move(face), m_reason);
      face.loops.push_back(std::move(entry));
      loop = next;
    }
    return face;
  }

  static acis::Face unsupported(acis::Face face, std::string reason) {
    face.supported = false;
    face.reason = std::move(reason);
    face.loops.clear();
    return face;
  }

  bool fail(std::string reason) {
    m_reason = std::move(reason);
    return false;
  }

  bool readLoop(int64_t loop, acis::Loop& entry, int64_t& next) {
    Cursor in = cursor(loop);
    int64_t coedge = -1;
    if (!in.entityPrefix() || !in.pointer(next) || !in.pointer(coedge)) return fail("damaged loop record");
    // The coedges form a ring through their next pointers.
    const int64_t first = coedge;
    do {
      if (!is(coedge, "coedge") || entry.coedges.size() >= m_model.records.size()) return fail("damaged coedge ring");
      Cursor c = cursor(coedge);
      int64_t nextCoedge = -1, previous = -1, partner = -1, edge = -1;
      acis::Coedge use;
      if (!c.entityPrefix() || !c.pointer(nextCoedge) || !c.pointer(previous) || !c.pointer(partner) ||
          !c.pointer(edge) || !c.flag("forward", "reversed", use.reversed))
        return fail("damaged coedge record");
      use.edge = edgeIndex(edge);
      if (use.edge < 0) return false;
      entry.coedges.push_back(use);
      coedge = nextCoedge;
    } while (coedge != first);
    return true;
  }

  // The index in `items` of what `record` became, read by `make` the first
  // time it is asked for.
  template <typename Item, typename Make>
  int32_t readOnce(int64_t record, std::vector<Item>& items, Make make) {
    int32_t& index = m_index[static_cast<size_t>(record)];
    if (index < 0) {
      index = static_cast<int32_t>(items.size());
      items.push_back(make(m_model.records[static_cast<size_t>(record)]));
    }
    return index;
  }
  int32_t surfaceIndex(int64_t record) {
    return readOnce(record, m_body.surfaces, [this](const RawRecord& r) { return m_geometry.surface(r); });
  }
  int32_t curveIndex(int64_t record) {
    return readOnce(record, m_body.curves, [this](const RawRecord& r) { return m_geometry.curve(r); });
  }

  int32_t vertexIndex(int64_t record) {
    if (!is(record, "vertex")) return fail("an edge without its vertex"), -1;
    int32_t& index = m_index[static_cast<size_t>(record)];
    if (index >= 0) return index;
    Cursor in = cursor(record);
    int64_t edge = -1, point = -1;
    if (!in.entityPrefix() || !in.pointer(edge)) return fail("damaged vertex record"), -1;
    // Later versions keep a number before the point.
    in.skipOptionalInteger();
    if (!in.pointer(point) || !is(point, "point")) return fail("damaged vertex record"), -1;
    Cursor at = cursor(point);
    acis::Vertex vertex;
    if (!at.entityPrefix() || !at.vec3(vertex.point)) return fail("damaged point record"), -1;
    index = static_cast<int32_t>(m_body.vertices.size());
    m_body.vertices.push_back(vertex);
    return index;
  }

  int32_t edgeIndex(int64_t record) {
    if (!is(record, "edge")) return fail("a coedge without its edge"), -1;
    if (m_index[static_cast<size_t>(record)] >= 0) return m_index[static_cast<size_t>(record)];
    Cursor in = cursor(record);
    acis::Edge edge;
    int64_t start = -1, end = -1, coedge = -1, curve = -1;
    // From 5.0 each vertex is followed by its parameter on the curve.
    const bool stored = in.entityPrefix() && in.pointer(start) && in.peekIsNumber();
    if (stored) {
      if (!in.real(edge.startParam) || !in.pointer(end) || !in.real(edge.endParam))
        return fail("damaged edge record"), -1;
    } else if (!in.pointer(end)) {
      return fail("damaged edge record"), -1;
    }
    if (!in.pointer(coedge) || !in.pointer(curve) || !in.flag("forward", "reversed", edge.curveReversed))
      return fail("damaged edge record"), -1;
    edge.start = vertexIndex(start);
    edge.end = edge.start < 0 ? -1 : vertexIndex(end);
    if (edge.end < 0) return -1;
    if (curve >= 0) {
      if (!is(curve, "curve")) return fail("damaged edge record"), -1;
      edge.curve = curveIndex(curve);
      const acis::Curve& c = m_body.curves[static_cast<size_t>(edge.curve)];
      if (c.kind == acis::CurveKind::Unsupported) return fail(c.reason), -1;
      if (!stored && !parametersFromVertices(c, edge)) return fail("an old edge on a spline curve"), -1;
    }
    if (!(std::isfinite(edge.startParam) && std::isfinite(edge.endParam))) return fail("damaged edge record"), -1;
    int32_t index = static_cast<int32_t>(m_body.edges.size());
    m_body.edges.push_back(edge);
    m_index[static_cast<size_t>(record)] = index;
    return index;
  }

  // Files before 5.0 store no parameters: they are found from the vertices,
  // in the edge's direction (negated where the curve runs the other way).
  bool parametersFromVertices(const acis::Curve& curve, acis::Edge& edge) const {
    if (curve.kind != acis::CurveKind::Straight && curve.kind != acis::CurveKind::Ellipse) return false;
    const double sign = edge.curveReversed ? -1 : 1;
    edge.startParam = sign * curveParameter(curve, m_body.vertices[static_cast<size_t>(edge.start)].point);
    edge.endParam = sign * curveParameter(curve, m_body.vertices[static_cast<size_t>(edge.end)].point);
    if (curve.kind == acis::CurveKind::Ellipse) {
      constexpr double kTurn = 2 * std::numbers::pi;
      if (edge.start == edge.end) edge.endParam = edge.startParam + kTurn;
      while (edge.endParam <= edge.startParam) edge.endParam += kTurn;
    }
    return true;
  }

  bool isClosedSolid() const {
    std::vector<int> uses(m_body.edges.size(), 0);
    for (const acis::Face& face : m_body.faces) {
      if (!face.supported || face.doubleSided) return false;
      for (const acis::Loop& loop : face.loops)
        for (const acis::Coedge& coedge : loop.coedges) ++uses[static_cast<size_t>(coedge.edge)];
    }
    for (int count : uses)
      if (count != 2) return false;
    return !m_body.faces.empty();
  }

  const RawModel& m_model;
  GeometryReader m_geometry;
  acis::Body m_body;
  // What each record became: the index of its surface, curve, edge or
  // vertex in the body; -1 while not read.
  std::vector<int32_t> m_index;
  std::vector<bool> m_visited;
  int32_t m_lumps = 0;
  bool m_inShell = false;
  std::string m_reason;  // why the last edge or loop could not be read
};

}  // namespace

acis::ParseResult buildBody(const RawModel& model) { return BodyBuilder(model).build(); }

}  // namespace acis::detail
