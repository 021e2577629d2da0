#include "entity_facetter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <string>

#include "entity_builders.h"
#include "tag_reader.h"

namespace render {

Builder builderFor(std::string_view type) {
  struct Entry {
    std::string_view type;
    Builder builder;
  };
  static constexpr Entry kBuilders[] = {
      {"3DFACE", buildFace3d},     {"SOLID", buildSolid},           {"TRACE", buildSolid},
      {"LINE", buildLine},         {"CIRCLE", buildCircle},         {"ARC", buildArc},
      {"POLYLINE", buildPolyline}, {"LWPOLYLINE", buildLwPolyline}, {"MESH", buildSubdMesh},
  };
  for (const Entry& entry : kBuilders)
    if (entry.type == type) return entry.builder;
  return nullptr;
}

Builder builderAheadFor(std::string_view type) {
  // Asked for every entity read ahead: the types are told by their length first.
  if (type == "3DFACE") return buildFace3d;
  return type == "SOLID" || type == "TRACE" ? buildSolid : nullptr;
}

Acad::ErrorStatus emitBuiltAhead(const BuiltAhead& built, BatchEmitter& out) {
  if (built.status != Acad::eOk) return built.status;
  if (built.mesh.empty()) return Acad::eDegenerateGeometry;
  return out.emit(built.mesh, Affine{});
}

bool BlockSource::modelerPayload(TagSpan, acis::Payload&) const { return false; }

namespace {

bool skippedInsideBlock(Acad::ErrorStatus status) {
  return status == Acad::eNotApplicable || status == Acad::eDegenerateGeometry || status == Acad::eKeyNotFound;
}

std::string upperCase(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

class Facetter {
 public:
  Facetter(const BlockSource* blocks, BatchEmitter& out) : m_blocks(blocks), m_out(out) {}

  Acad::ErrorStatus facet(const EntityView& entity, const Affine& toWorld) {
    if (entity.type == "INSERT") return facetInsert(entity, toWorld);
    if (entity.type == "DIMENSION" || entity.type == "ARC_DIMENSION") return facetDimension(entity, toWorld);
    bool modeler = isModelerType(entity.type);
    Builder builder = builderFor(entity.type);
    if (!builder && !modeler) return Acad::eNotApplicable;
    Mesh& mesh = m_out.meshFor(toWorld);
    Acad::ErrorStatus status = modeler ? buildModelerEntity(entity, m_blocks, mesh) : builder(entity, mesh);
    if (status != Acad::eOk) return status;
    if (mesh.empty()) return Acad::eDegenerateGeometry;
    return m_out.emitBuilt();
  }

 private:
  // Block coordinates of one array cell to the coordinates around the insert.
  struct Placement {
    Vec3 insertion, scale, base, extrusion;
    double rotation = 0;
    double columnSpacing = 0, rowSpacing = 0;
  };

  static bool cellToOuter(const Placement& p, int64_t column, int64_t row, Affine& map) {
    Affine ocs;
    if (!objectToWorld(p.extrusion, ocs)) return false;
    double c = std::cos(p.rotation), s = std::sin(p.rotation);
    Affine local{{p.scale.x * c, p.scale.x * s, 0}, {-p.scale.y * s, p.scale.y * c, 0}, {0, 0, p.scale.z}, {}};
    // Rows and columns follow the rotated axes but not the scale.
    Vec3 offset{column * p.columnSpacing * c - row * p.rowSpacing * s,
                column * p.columnSpacing * s + row * p.rowSpacing * c, 0};
    local.origin = p.insertion + offset - local.applyToVector(p.base);
    map = local.then(ocs);
    return map.isFinite();
  }

  Acad::ErrorStatus facetInsert(const EntityView& insert, const Affine& toWorld) {
    TagReader tags(insert.tags);
    std::string name = upperCase(tags.text(2));
    Placement p;
    p.insertion = tags.point(10);
    p.scale = {tags.real(41, 1), tags.real(42, 1), tags.real(43, 1)};
    p.rotation = tags.real(50) * std::numbers::pi / 180.0;
    p.columnSpacing = tags.real(44);
    p.rowSpacing = tags.real(45);
    p.extrusion = tags.extrusion();
    int64_t columns = std::max<int64_t>(1, tags.integer(70, 1));
    int64_t rows = std::max<int64_t>(1, tags.integer(71, 1));
    if (!tags.valid()) return Acad::eInvalidInput;
    if (columns > kMaxArrayCells || rows > kMaxArrayCells || columns * rows > kMaxArrayCells)
      return Acad::eInvalidExtents;
    BlockContents block;
    Acad::ErrorStatus found = findBlock(name, block);
    if (found != Acad::eOk) return found;
    p.base = block.base;
    // Nested arrays multiply: a chain whose cells pass the bound together is
    // refused at once, not after a million placements have been visited.
    if (columns * rows > kMaxPlacements / m_chainCells) return Acad::eInvalidExtents;
    m_chainCells *= columns * rows;
    m_chain.push_back(name);
    Acad::ErrorStatus status = Acad::eDegenerateGeometry;
    for (int64_t column = 0; column < columns && !failed(status); ++column) {
      for (int64_t row = 0; row < rows && !failed(status); ++row) {
        if (++m_placements > kMaxPlacements) {
          status = Acad::eInvalidExtents;
          break;
        }
        Affine cell;
        if (!cellToOuter(p, column, row, cell)) {
          status = Acad::eInvalidInput;
          break;
        }
        status = merge(status, facetBlock(block, cell.then(toWorld)));
      }
    }
    m_chain.pop_back();
    m_chainCells /= columns * rows;
    return status;
  }

  // A dimension is drawn by its picture block, whose entities already stand
  // where the dimension is: the block is faceted in place, and its base
  // point is not applied. Without its block it is a type with nothing to cut.
  Acad::ErrorStatus facetDimension(const EntityView& dimension, const Affine& toWorld) {
    TagReader tags(dimension.tags);
    std::string name = upperCase(tags.text(2));
    BlockContents block;
    Acad::ErrorStatus found = findBlock(name, block);
    if (found == Acad::eKeyNotFound) return Acad::eNotApplicable;
    if (found != Acad::eOk) return found;
    if (++m_placements > kMaxPlacements) return Acad::eInvalidExtents;
    m_chain.push_back(name);
    Acad::ErrorStatus status = facetBlock(block, toWorld);
    m_chain.pop_back();
    return status;
  }

  // The block of this name; refused when it is being faceted already or the
  // nesting runs too deep, eKeyNotFound when the drawing lacks it.
  Acad::ErrorStatus findBlock(const std::string& name, BlockContents& block) const {
    if (std::find(m_chain.begin(), m_chain.end(), name) != m_chain.end()) return Acad::eSelfReference;
    if (static_cast<int>(m_chain.size()) >= kMaxInsertDepth) return Acad::eInvalidExtents;
    if (!m_blocks || !m_blocks->find(name, block)) return Acad::eKeyNotFound;
    return Acad::eOk;
  }

  Acad::ErrorStatus facetBlock(const BlockContents& block, const Affine& toWorld) {
    Acad::ErrorStatus status = Acad::eDegenerateGeometry;
    for (const EntityView& entity : block.entities) {
      status = merge(status, facet(entity, toWorld));
      if (failed(status)) break;
    }
    return status;
  }

  // eOk once anything came out; a failure that is not a skipped piece wins.
  static Acad::ErrorStatus merge(Acad::ErrorStatus sofar, Acad::ErrorStatus piece) {
    return failed(sofar) || skippedInsideBlock(piece) ? sofar : piece;
  }
  static bool failed(Acad::ErrorStatus status) { return status != Acad::eOk && !skippedInsideBlock(status); }

  const BlockSource* m_blocks;
  BatchEmitter& m_out;
  std::vector<std::string> m_chain;  // the blocks being faceted, outermost first
  int64_t m_placements = 0;
  int64_t m_chainCells = 1;  // product of the array cells of the blocks in m_chain
};

}  // namespace

Acad::ErrorStatus facetEntity(const EntityView& entity, const BlockSource* blocks, BatchEmitter& out) {
  return Facetter(blocks, out).facet(entity, Affine{});
}

}  // namespace render
