// Storage of closed openings, kept while a command runs. An export opens an
// entity, the layer table and a layer for every entity it writes; their
// objects and tag snapshots then serve the next opening instead of being
// allocated anew. The command's end frees what is kept, and nothing is kept
// outside a command.
#pragma once
#include <cstddef>
#include <memory>
#include <new>

#include "db/record_tags.h"

namespace db {

namespace spares_detail {
// An export holds at most an entity, the layer table and a layer at once.
constexpr size_t kKept = 4;
// Object storage kept while commands run (they nest). Made before any code
// runs, and taken and given inline: an export does both three times an
// entity.
struct KeptBlocks {
  int commands = 0;
  void* blocks[kKept] = {};
  size_t sizes[kKept] = {};
  size_t count = 0;
};
inline constinit KeptBlocks g_kept;
// Storage of `size` bytes when the block kept last is not of that size.
void* searchOrAllocateBlock(size_t size);
}  // namespace spares_detail

void openingsCommandStarted();
void openingsCommandEnded();

// Object storage of `size` bytes, a kept block when there is one.
inline void* takeObjectBlock(size_t size) {
  spares_detail::KeptBlocks& kept = spares_detail::g_kept;
  // Mostly the block given last: the object classes share one size.
  if (kept.count > 0 && kept.sizes[kept.count - 1] == size) return kept.blocks[--kept.count];
  return spares_detail::searchOrAllocateBlock(size);
}

// Keeps `block` for the next opening while a command runs, else frees it.
inline void giveObjectBlock(void* block, size_t size) noexcept {
  spares_detail::KeptBlocks& kept = spares_detail::g_kept;
  if (!block) return;
  if (kept.commands == 0 || kept.count == spares_detail::kKept) return ::operator delete(block);
  kept.blocks[kept.count] = block;
  kept.sizes[kept.count] = size;
  ++kept.count;
}

// A snapshot of `record`'s tags, read into kept storage when there is some.
std::unique_ptr<RecordTags> snapshotOf(const Record& record);
// Keeps `snapshot`'s storage while a command runs, else frees it.
void giveSnapshot(std::unique_ptr<RecordTags> snapshot) noexcept;

}  // namespace db
