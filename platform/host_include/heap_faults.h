// The host allocator's accounting and fault injection, for the host and the
// tests; a module has no business with them.
#pragma once
#include <cstddef>
#include <cstdint>

namespace acad::heap {
struct Stats {
  size_t liveBlocks;
  size_t liveBytes;
  uint64_t allocations;  // successful allocations since start-up
};
Stats stats();
// Frees the small blocks the calling thread keeps for its next allocations,
// so that a command's end leaves none kept.
void releaseKeptBlocks();
// Makes the allocation `n` calls from now (1 = the very next) fail; 0 disarms.
void failAfter(uint64_t n);
// True once an armed failure has fired (and disarms the report).
bool takeFiredFailure();
}  // namespace acad::heap
