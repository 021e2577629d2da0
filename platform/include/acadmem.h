// The host allocator. One heap for the host and every loaded module: blocks
// may be allocated on one side and released on the other.
#pragma once
#include <cstddef>
#include <cstdint>

extern "C" {
void* acad_malloc(size_t size);
void* acad_calloc(size_t count, size_t size);
void* acad_realloc(void* block, size_t size);
void acad_free(void* block);
size_t acad__msize(void* block);
char* acad__strdup(const char* text);
}

// Accounting and fault injection, for the host and the tests.
namespace acad_heap {
struct Stats {
  size_t liveBlocks;
  size_t liveBytes;
  uint64_t allocations;  // successful allocations since start-up
};
Stats stats();
// Makes the allocation `n` calls from now (1 = the very next) fail; 0 disarms.
void failAfter(uint64_t n);
// True once an armed failure has fired (and disarms the report).
bool takeFiredFailure();
}  // namespace acad_heap
