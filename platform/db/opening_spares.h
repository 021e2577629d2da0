// Storage of closed openings, kept while a command runs. An export opens an
// entity, the layer table and a layer for every entity it writes; their
// objects and tag snapshots then serve the next opening instead of being
// allocated anew. The command's end frees what is kept, and nothing is kept
// outside a command.
#pragma once
#include <cstddef>
#include <memory>

#include "db/record_tags.h"

namespace db {

// Commands nest; storage is kept while any runs.
void openingsCommandStarted();
void openingsCommandEnded();

// Object storage of `size` bytes, a kept block when there is one.
void* takeObjectBlock(size_t size);
// Keeps `block` for the next opening while a command runs, else frees it.
void giveObjectBlock(void* block, size_t size) noexcept;

// A snapshot of `record`'s tags, read into kept storage when there is some.
std::unique_ptr<RecordTags> snapshotOf(const Record& record);
// Keeps `snapshot`'s storage while a command runs, else frees it.
void giveSnapshot(std::unique_ptr<RecordTags> snapshot) noexcept;

}  // namespace db
