#include "db/opening_spares.h"

#include <new>
#include <utility>

namespace db {
namespace {

// An export holds at most an entity, the layer table and a layer at once.
constexpr size_t kKept = 4;
// A snapshot of a record larger than this is not kept for small ones.
constexpr size_t kKeptSnapshotBytes = 64 << 10;

struct Spares {
  int commands = 0;
  void* blocks[kKept] = {};
  size_t blockSizes[kKept] = {};
  size_t blockCount = 0;
  std::unique_ptr<RecordTags> snapshots[kKept];
  size_t snapshotCount = 0;
};

// Made before any code runs: an export takes and gives storage several
// times an entity, and a guarded static costs a call each time.
constinit Spares g_spares;

Spares& spares() { return g_spares; }

}  // namespace

void openingsCommandStarted() { ++spares().commands; }

void openingsCommandEnded() {
  Spares& kept = spares();
  if (kept.commands > 0) --kept.commands;
  if (kept.commands > 0) return;
  while (kept.blockCount > 0) {
    --kept.blockCount;
    ::operator delete(kept.blocks[kept.blockCount]);
  }
  while (kept.snapshotCount > 0) kept.snapshots[--kept.snapshotCount].reset();
}

void* takeObjectBlock(size_t size) {
  Spares& kept = spares();
  for (size_t i = kept.blockCount; i-- > 0;) {
    if (kept.blockSizes[i] != size) continue;
    void* block = kept.blocks[i];
    --kept.blockCount;
    kept.blocks[i] = kept.blocks[kept.blockCount];
    kept.blockSizes[i] = kept.blockSizes[kept.blockCount];
    return block;
  }
  return ::operator new(size);
}

void giveObjectBlock(void* block, size_t size) noexcept {
  Spares& kept = spares();
  if (!block) return;
  if (kept.commands == 0 || kept.blockCount == kKept) return ::operator delete(block);
  kept.blocks[kept.blockCount] = block;
  kept.blockSizes[kept.blockCount] = size;
  ++kept.blockCount;
}

std::unique_ptr<RecordTags> snapshotOf(const Record& record) {
  Spares& kept = spares();
  if (kept.snapshotCount == 0) return std::make_unique<RecordTags>(record);
  std::unique_ptr<RecordTags> snapshot = std::move(kept.snapshots[--kept.snapshotCount]);
  snapshot->read(record);
  return snapshot;
}

void giveSnapshot(std::unique_ptr<RecordTags> snapshot) noexcept {
  Spares& kept = spares();
  if (!snapshot || kept.commands == 0 || kept.snapshotCount == kKept || snapshot->capacityBytes() > kKeptSnapshotBytes)
    return;
  kept.snapshots[kept.snapshotCount++] = std::move(snapshot);
}

}  // namespace db
