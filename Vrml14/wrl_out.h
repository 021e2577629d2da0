// The export of a selection: the capture of one entity's facets.
#pragma once
#include <cstdint>

#include "acre.h"
#include "wrl_fobj.h"
#include "wrl_scope.h"

// Receives the facetter's batches for one entity and builds its points and
// faces. Registered around one facetter call and read by the export loop,
// which keeps one for the whole selection and starts each entity anew.
class WrlCallout final : public AcreCallout {
 public:
  WrlCallout();
  ~WrlCallout();
  WrlCallout(const WrlCallout&) = delete;
  WrlCallout& operator=(const WrlCallout&) = delete;

  void slot0(int32_t) override {}
  void slot1(int32_t) override {}
  void slot2(int32_t, int32_t) override {}
  void onHeader(const AcreMeshHeader* header) override;
  void onVertices(const AcreVertex* vertices) override;
  void slot5(int32_t) override {}
  void onFaces(const AcrePolygon* polygons, const int32_t* const* corners) override;

  // Forgets the previous entity's facets and state; false when the face
  // object it lost for lack of memory cannot be made again.
  bool beginEntity();

  WrlFaceObject* faceObject = nullptr;  // absent only when its allocation failed
  int32_t ucsTransform = 0;             // 1: points go into the current UCS
  int32_t indexBase = 0;                // points held when the current batch began
  int32_t vertexCount = 0;              // of the current batch
  int32_t faceCount = 0;                // of the current batch

 private:
  void dropEntity();

  // Set by a vertex that a world file cannot hold (beyond single precision,
  // which is all VRML readers keep): the entity yields nothing and is
  // counted as ignored.
  bool m_outOfRange = false;
  // The previous entity's lists, emptied, for the next entity's first batch:
  // an entity then costs no allocation once the lists are large enough.
  WrlPointList* m_sparePoints = nullptr;
  WrlFaceList* m_spareFaces = nullptr;
};

class WrlFile;

// Whether the facet capture moves points into the current UCS: 0 when the
// module loads, then the choice of the last confirmed export.
extern int32_t ucsTransform;

// Writes every entity of the selection set that yields facets as one shape.
// The writer is open and headed already. 1 when the loop ran through; 0 on
// an empty or unreadable set, Cancel, or an entity it could not fetch.
int exportSelection(const ads_name ss, WrlFile& file);

// Asks for the world file to create. 1 with a new copy of the path in
// `path`; 0 when nothing was chosen.
int askOutputFile(TextBuffer& path);

// The VRMLOUT command: exports a selection to a world file.
void VRMLOUT();
