#include "facet_records.h"

#include "batch_emitter.h"
#include "database_blocks.h"
#include "acadmem.h"
#include "face_file.h"
#include "lost_faces.h"
#include "view_prefetch.h"

namespace acre_detail {
namespace {

// Kept from call to call: the next entity is read while this one is
// facetted and its polygons are written.
ViewPrefetch& readingAhead() {
  static ViewPrefetch prefetch;
  return prefetch;
}

}  // namespace

void settleReadingAhead() { readingAhead().settle(); }

Acad::ErrorStatus facetRecords(std::span<const acdb_detail::Record* const> records, AcreCallout* callout,
                               char** faceFileName) {
  if (faceFileName) *faceFileName = nullptr;
  FaceFile faceFile;
  ViewPrefetch& prefetch = readingAhead();
  struct ReleaseWhenIdle {
    ViewPrefetch& prefetch;
    ~ReleaseWhenIdle() { prefetch.releaseIfIdle(); }
  } releaseWhenIdle{prefetch};
  for (const acdb_detail::Record* record : records) {
    if (!record || record->erased) return Acad::eWasErased;
    BatchEmitter out(callout);
    DatabaseBlocks blocks(acdb_detail::databaseOf(*record));
    const EntityView* view = prefetch.viewOf(*record);
    if (!view) return Acad::eInvalidInput;
    prefetch.readNextAhead(*record);
    Acad::ErrorStatus status = facetEntity(*view, &blocks, out);
    reportLostFaces(record->type, record->handle);
    if (status != Acad::eOk) return status;
    out.finish();
    if (!callout) faceFile.addEntity(record->type, record->handle, out.batches());
  }
  // A callout has had every polygon: a file per call would only cost a file
  // system round trip per entity. The name is then empty.
  if (faceFileName) *faceFileName = callout ? acad__strdup("") : faceFile.write();
  return Acad::eOk;
}

}  // namespace acre_detail
