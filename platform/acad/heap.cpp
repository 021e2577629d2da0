// The host allocator with live-block accounting and fault injection.
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "acadmem.h"
#include "heap_faults.h"

namespace {

// Every block carries its size in front, kept at the strictest alignment.
constexpr size_t kHeader = alignof(std::max_align_t);

// Any thread may allocate: the platform reads ahead on a second thread.
std::atomic<size_t> g_liveBlocks = 0;
std::atomic<size_t> g_liveBytes = 0;
std::atomic<uint64_t> g_allocations = 0;
std::atomic<uint64_t> g_failCountdown = 0;
std::atomic<bool> g_failureFired = false;

bool injectFailure() {
  uint64_t left = g_failCountdown.load(std::memory_order_relaxed);
  while (left != 0)
    if (g_failCountdown.compare_exchange_weak(left, left - 1, std::memory_order_relaxed)) {
      if (left != 1) return false;
      g_failureFired = true;
      return true;
    }
  return false;
}

size_t& sizeOf(void* block) { return *reinterpret_cast<size_t*>(static_cast<char*>(block) - kHeader); }

void* track(void* raw, size_t size) {
  if (!raw) return nullptr;
  *static_cast<size_t*>(raw) = size;
  ++g_liveBlocks;
  g_liveBytes += size;
  ++g_allocations;
  return static_cast<char*>(raw) + kHeader;
}

}  // namespace

extern "C" void* acad_malloc(size_t size) {
  if (size > SIZE_MAX - kHeader || injectFailure()) return nullptr;
  return track(std::malloc(size + kHeader), size);
}

extern "C" void* acad_calloc(size_t count, size_t size) {
  if (size != 0 && count > (SIZE_MAX - kHeader) / size) return nullptr;
  if (injectFailure()) return nullptr;
  return track(std::calloc(1, count * size + kHeader), count * size);
}

extern "C" void* acad_realloc(void* block, size_t size) {
  if (!block) return acad_malloc(size);
  if (size > SIZE_MAX - kHeader || injectFailure()) return nullptr;
  size_t old = sizeOf(block);
  void* raw = std::realloc(static_cast<char*>(block) - kHeader, size + kHeader);
  if (!raw) return nullptr;
  *static_cast<size_t*>(raw) = size;
  g_liveBytes += size - old;
  ++g_allocations;
  return static_cast<char*>(raw) + kHeader;
}

extern "C" void acad_free(void* block) {
  if (!block) return;
  --g_liveBlocks;
  g_liveBytes -= sizeOf(block);
  std::free(static_cast<char*>(block) - kHeader);
}

extern "C" size_t acad__msize(void* block) { return block ? sizeOf(block) : 0; }

extern "C" char* acad__strdup(const char* text) {
  if (!text) return nullptr;
  size_t length = std::strlen(text) + 1;
  char* copy = static_cast<char*>(acad_malloc(length));
  if (copy) std::memcpy(copy, text, length);
  return copy;
}

namespace acad::heap {
Stats stats() { return {g_liveBlocks, g_liveBytes, g_allocations}; }
void failAfter(uint64_t n) {
  g_failCountdown = n;
  g_failureFired = false;
}
bool takeFiredFailure() { return g_failureFired.exchange(false); }
}  // namespace acad::heap
