#include "facet_records.h"

#include "batch_emitter.h"
#include "database_blocks.h"
#include "entity_builders.h"
#include "face_file.h"
#include "lost_faces.h"
#include "view_prefetch.h"

namespace render {
namespace {

// Kept from call to call while a command runs: the next entity is read while
// this one is facetted and its polygons are written, and the buffers of
// small entities serve the next one instead of being allocated anew.
struct Scratch {
  ViewPrefetch prefetch;
  BatchEmitter out{nullptr};
  int commands = 0;  // running now, nested ones included
};

Scratch& scratch() {
  static Scratch kept;
  return kept;
}

}  // namespace

void commandStarted() { ++scratch().commands; }

void settleReadingAhead() {
  Scratch& kept = scratch();
  if (kept.commands > 0) --kept.commands;
  kept.prefetch.settle();
  kept.out.release();
}

Acad::ErrorStatus facetRecords(std::span<const db::Record* const> records, AcreCallout* callout, char** faceFileName) {
  if (faceFileName) *faceFileName = nullptr;
  FaceFile faceFile;
  Scratch& kept = scratch();
  ViewPrefetch& prefetch = kept.prefetch;
  BatchEmitter& out = kept.out;
  struct ReleaseWhenIdle {
    Scratch& kept;
    ~ReleaseWhenIdle() {
      if (kept.commands > 0) {
        kept.prefetch.trimIfIdle();
        return;
      }
      kept.prefetch.releaseIfIdle();
      kept.out.release();
    }
  } releaseWhenIdle{kept};
  for (size_t i = 0; i < records.size(); ++i) {
    const db::Record* record = records[i];
    if (!record || record->erased) return Acad::eWasErased;
    out.restart(callout);
    DatabaseBlocks blocks(db::databaseOf(*record));
    const EntityView* view = prefetch.viewOf(*record);
    if (!view) return Acad::eInvalidInput;
    // Outside a command nothing would wait for what is read past this
    // call's own entities, nor free it.
    if (kept.commands > 0 || i + 1 < records.size()) prefetch.readNextAhead(*record);
    const BuiltAhead* built = prefetch.builtAhead();
    Acad::ErrorStatus status = built ? emitBuiltAhead(*built, out) : facetEntity(*view, &blocks, out);
    reportLostFaces(record->type, record->handle);
    if (status != Acad::eOk) return status;
    out.finish();
    if (!callout) faceFile.addEntity(record->type, record->handle, out.batches());
  }
  // A callout has had every polygon: a file per call would only cost a file
  // system round trip per entity, and a name an allocation. None is handed
  // back then.
  if (faceFileName) *faceFileName = callout ? nullptr : faceFile.write();
  return Acad::eOk;
}

}  // namespace render
