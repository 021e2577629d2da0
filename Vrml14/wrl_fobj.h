// The facets of one exported object: its point list and its face list, each
// absent until the first batch arrives.
#pragma once
#include "wrl_flist.h"
#include "wrl_ptlist.h"

class WrlFaceObject {
 public:
  WrlFaceObject() = default;
  ~WrlFaceObject() { release(); }
  WrlFaceObject(const WrlFaceObject&) = delete;
  WrlFaceObject& operator=(const WrlFaceObject&) = delete;

  // Take over a batch made with new. The first batch becomes the list; later
  // ones are appended and released. When the list cannot grow, the batch is
  // dropped and the list stays as it was.
  void appendFaces(WrlFaceList* batch);
  void appendPoints(WrlPointList* batch);

  // 1 when both lists are present.
  int isComplete() const;
  // Hands a list over to the caller; it is absent afterwards.
  WrlFaceList* takeFaces();
  WrlPointList* takePoints();
  // Destroys both lists; both are absent afterwards.
  void release();

  const WrlFaceList* faces() const { return m_faces; }
  const WrlPointList* points() const { return m_points; }

 private:
  WrlFaceList* m_faces = nullptr;
  WrlPointList* m_points = nullptr;
};
