#include "db/opening_spares.h"

#include <new>
#include <utility>

namespace db {
namespace {

using spares_detail::g_kept;
using spares_detail::kKept;

// A snapshot of a record larger than this is not kept for small ones.
constexpr size_t kKeptSnapshotBytes = 64 << 10;

struct Snapshots {
  std::unique_ptr<RecordTags> kept[kKept];
  size_t count = 0;
};

// Made before any code runs, like the kept blocks: asked for without a guard.
constinit Snapshots g_snapshots;

}  // namespace

void openingsCommandStarted() { ++g_kept.commands; }

void openingsCommandEnded() {
  if (g_kept.commands > 0) --g_kept.commands;
  if (g_kept.commands > 0) return;
  while (g_kept.count > 0) ::operator delete(g_kept.blocks[--g_kept.count]);
  while (g_snapshots.count > 0) g_snapshots.kept[--g_snapshots.count].reset();
}

void* spares_detail::searchOrAllocateBlock(size_t size) {
  for (size_t i = g_kept.count; i-- > 0;) {
    if (g_kept.sizes[i] != size) continue;
    void* block = g_kept.blocks[i];
    --g_kept.count;
    g_kept.blocks[i] = g_kept.blocks[g_kept.count];
    g_kept.sizes[i] = g_kept.sizes[g_kept.count];
    return block;
  }
  return ::operator new(size);
}

std::unique_ptr<RecordTags> snapshotOf(const Record& record) {
  if (g_snapshots.count == 0) return std::make_unique<RecordTags>(record);
  std::unique_ptr<RecordTags> snapshot = std::move(g_snapshots.kept[--g_snapshots.count]);
  snapshot->read(record);
  return snapshot;
}

void giveSnapshot(std::unique_ptr<RecordTags> snapshot) noexcept {
  if (!snapshot || g_kept.commands == 0 || g_snapshots.count == kKept || snapshot->capacityBytes() > kKeptSnapshotBytes)
    return;
  g_snapshots.kept[g_snapshots.count++] = std::move(snapshot);
}

}  // namespace db
