// The render facetter: cuts entities into polygons and reports them, batch by
// batch, to one registered callout.
#pragma once
#include <cstddef>
#include <cstdint>

#include "acadstrc.h"
#include "adsdef.h"

// Records handed to the callout. Little-endian, packed; only the fields named
// here carry meaning for a callout.
#pragma pack(push, 1)
struct AcreMeshHeader {
  uint8_t reserved[16];
  int32_t polygonCount;  // offset 16
  int32_t vertexCount;   // offset 20
};
struct AcreVertex {
  double x, y, z;  // world coordinates
};
struct AcrePolygon {
  uint8_t reserved[18];
  int16_t cornerCount;  // offset 18
};
#pragma pack(pop)
static_assert(sizeof(AcreMeshHeader) == 24 && offsetof(AcreMeshHeader, polygonCount) == 16 &&
              offsetof(AcreMeshHeader, vertexCount) == 20);
static_assert(sizeof(AcreVertex) == 24);
static_assert(sizeof(AcrePolygon) == 20 && offsetof(AcrePolygon, cornerCount) == 18);

// The callout: seven operations called by slot, in this order. No virtual
// destructor: the facetter never owns a callout.
class AcreCallout {
 public:
  virtual void slot0(int32_t value) = 0;
  virtual void slot1(int32_t value) = 0;
  virtual void slot2(int32_t first, int32_t second) = 0;
  virtual void onHeader(const AcreMeshHeader* header) = 0;
  virtual void onVertices(const AcreVertex* vertices) = 0;
  virtual void slot5(int32_t value) = 0;
  virtual void onFaces(const AcrePolygon* polygons, const int32_t* const* corners) = 0;

 protected:
  ~AcreCallout() = default;
};

extern "C" {
// Registers the callout that receives the next facetting; null unregisters.
int acreRegisterCallout(AcreCallout* callout);
// Facets every entity of the selection set. The name of the face file it
// writes is handed back from the host allocator (the caller frees it), or null.
Acad::ErrorStatus acreEntityToFaces(const ads_name ss, char** faceFileName, int mode);
}
