#include "wrl_fobj.h"

#include <utility>

namespace {

template <typename List>
void appendBatch(List*& target, List* batch) {
  if (!batch) return;
  if (!target) {
    target = batch;
    return;
  }
  target->append(*batch);  // a shortage leaves target unchanged; the batch goes either way
  delete batch;
}

template <typename List>
void destroy(List*& list) {
  delete list;
  list = nullptr;
}

}  // namespace

void WrlFaceObject::appendFaces(WrlFaceList* batch) { appendBatch(m_faces, batch); }

void WrlFaceObject::appendPoints(WrlPointList* batch) { appendBatch(m_points, batch); }

WrlFaceList* WrlFaceObject::takeFaces() { return std::exchange(m_faces, nullptr); }

WrlPointList* WrlFaceObject::takePoints() { return std::exchange(m_points, nullptr); }

int WrlFaceObject::isComplete() const { return m_faces && m_points ? 1 : 0; }

void WrlFaceObject::release() {
  destroy(m_faces);
  destroy(m_points);
}
