#include "wrl_out.h"

#include <new>

#include "dbmain.h"

// Out of memory while a batch is built: the whole entity is dropped. Its
// lists are released and every later batch is ignored, so the export loop
// finds the object incomplete and counts it as ignored. Writing part of an
// entity could leave faces whose points were never stored.

WrlCallout::WrlCallout() : faceObject(new (std::nothrow) WrlFaceObject) {}

WrlCallout::~WrlCallout() { dropEntity(); }

void WrlCallout::dropEntity() {
  if (!faceObject) return;
  faceObject->release();
  delete faceObject;
  faceObject = nullptr;
}

void WrlCallout::onHeader(const AcreMeshHeader* header) {
  vertexCount = header->vertexCount;
  faceCount = header->polygonCount;
}

void WrlCallout::onVertices(const AcreVertex* vertices) {
  if (vertexCount <= 0 || !faceObject) return;
  WrlPointList* batch = new (std::nothrow) WrlPointList;
  if (!batch) return dropEntity();
  for (int32_t k = 0; k < vertexCount; ++k) {
    ads_point at = {vertices[k].x, vertices[k].y, vertices[k].z};
    if (ucsTransform == 1) {
      ads_point world = {at[X], at[Y], at[Z]};
      acdbWcs2Ucs(world, at, 0);
    }
    if (!batch->add(WrlPoint(at[X], at[Y], at[Z]))) {
      delete batch;
      return dropEntity();
    }
  }
  size_t before = faceObject->points() ? faceObject->points()->size() : 0;
  faceObject->appendPoints(batch);
  size_t after = faceObject->points() ? faceObject->points()->size() : 0;
  if (after != before + static_cast<size_t>(vertexCount)) dropEntity();
}

void WrlCallout::onFaces(const AcrePolygon* polygons, const int32_t* const* corners) {
  if (!faceObject) return;
  WrlFaceList* batch = nullptr;
  for (int32_t k = 0; k < faceCount; ++k) {
    WrlFace face;
    int n = polygons[k].cornerCount;
    for (int j = 0; j < n; ++j) face.setCorner(j, corners[k][j] + indexBase);
    face.setCount(n);
    if (!batch && !(batch = new (std::nothrow) WrlFaceList)) return dropEntity();
    if (!batch->add(face)) {
      delete batch;
      return dropEntity();
    }
  }
  if (batch) {
    size_t before = faceObject->faces() ? faceObject->faces()->size() : 0;
    size_t added = batch->size();
    faceObject->appendFaces(batch);
    size_t after = faceObject->faces() ? faceObject->faces()->size() : 0;
    if (after != before + added) return dropEntity();
  }
  indexBase = faceObject->points() ? static_cast<int32_t>(faceObject->points()->size()) : 0;
}

// Registered by the module's start-up; the export itself is still to come.
void VRMLOUT() {}
