// MESH: its control mesh, as at subdivision level 0 (no smoothing is applied
// at any level). After the subclass marker the tags come in a fixed order:
// vertex count (92) and the vertices, face list size (93) and the face list,
// where each face is its corner count followed by its 0-based vertex numbers.
#include "entity_builders.h"
#include "tag_reader.h"

namespace render {

namespace {
class TagWalk {
 public:
  explicit TagWalk(TagSpan tags) : m_tags(tags) {}
  // Moves past the next tag of `code` with this text.
  bool seekText(int code, std::string_view text) {
    while (m_at < m_tags.size()) {
      const db::TagView& tag = m_tags[m_at++];
      if (tag.code == code && tag.value == text) return true;
    }
    return false;
  }
  // Moves past the next tag of `code`, reading it as an integer.
  bool seekInteger(int code, int64_t& value) {
    while (m_at < m_tags.size())
      if (m_tags[m_at++].code == code) return TagReader::parseInteger(m_tags[m_at - 1].value, value);
    return false;
  }
  // The next tag, which must have `code`.
  bool integer(int code, int64_t& value) {
    return m_at < m_tags.size() && m_tags[m_at].code == code && TagReader::parseInteger(m_tags[m_at++].value, value);
  }
  bool real(int code, double& value) {
    return m_at < m_tags.size() && m_tags[m_at].code == code && TagReader::parseReal(m_tags[m_at++].value, value);
  }
  size_t left() const { return m_tags.size() - m_at; }

 private:
  TagSpan m_tags;
  size_t m_at = 0;
};
}  // namespace

Acad::ErrorStatus buildSubdMesh(const EntityView& entity, Mesh& mesh) {
  TagWalk walk(entity.tags);
  int64_t vertexCount = 0;
  if (!walk.seekText(100, "AcDbSubDMesh") || !walk.seekInteger(92, vertexCount))
    return Acad::eOk;  // no control mesh: nothing to cut
  // Every vertex takes three tags: a count beyond the tags left is a lie.
  if (vertexCount < 0 || static_cast<uint64_t>(vertexCount) > walk.left() / 3) return Acad::eInvalidInput;
  for (int64_t i = 0; i < vertexCount; ++i) {
    Vec3 p;
    if (!walk.real(10, p.x) || !walk.real(20, p.y) || !walk.real(30, p.z)) return Acad::eInvalidInput;
    mesh.addVertex(p);
  }
  int64_t listSize = 0;
  if (!walk.integer(93, listSize)) return Acad::eOk;  // vertices without faces
  if (listSize < 0 || static_cast<uint64_t>(listSize) > walk.left()) return Acad::eInvalidInput;
  std::vector<int32_t> corners;
  for (int64_t read = 0; read < listSize;) {
    int64_t count = 0;
    if (!walk.integer(90, count) || count < 0 || count > listSize - read - 1) return Acad::eInvalidInput;
    read += 1 + count;
    corners.clear();
    bool inRange = true;
    for (int64_t j = 0; j < count; ++j) {
      int64_t number = 0;
      if (!walk.integer(90, number)) return Acad::eInvalidInput;
      inRange = inRange && number >= 0 && number < vertexCount;
      corners.push_back(static_cast<int32_t>(number));
    }
    if (inRange) mesh.addPolygon(corners);
  }
  return Acad::eOk;
}

}  // namespace render
