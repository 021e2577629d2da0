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

// The header: the size asked for, then what the block's storage is.
enum class Storage : size_t { kExact, kSmall };

size_t& sizeOf(void* block) { return *reinterpret_cast<size_t*>(static_cast<char*>(block) - kHeader); }
Storage& storageOf(void* block) {
  return *reinterpret_cast<Storage*>(static_cast<char*>(block) - kHeader + sizeof(size_t));
}
static_assert(kHeader >= sizeof(size_t) + sizeof(Storage));

void* track(void* raw, size_t size, Storage storage = Storage::kExact) {
  if (!raw) return nullptr;
  *static_cast<size_t*>(raw) = size;
  ++g_liveBlocks;
  g_liveBytes += size;
  ++g_allocations;
  void* block = static_cast<char*>(raw) + kHeader;
  storageOf(block) = storage;
  return block;
}

// Small blocks all have one storage size, so that any freed one serves any
// small request, and a thread keeps a few it freed for its next ones: an
// export makes and frees a layer name for every entity, and the C heap's
// checks cost more than the name. Not under a sanitizer, which must see
// every block at its own size and every block freed.
#ifdef __SANITIZE_ADDRESS__
constexpr bool kSmallBlocks = false;
#else
constexpr bool kSmallBlocks = true;
#endif
constexpr size_t kSmallStorage = 64;  // the header and the largest small request
constexpr size_t kKeptSmall = 4;

struct SmallBlocks {
  void* raw[kKeptSmall] = {};
  size_t count = 0;
  ~SmallBlocks() { release(); }
  void release() {
    while (count > 0) std::free(raw[--count]);
  }
};
thread_local SmallBlocks t_smallBlocks;

}  // namespace

extern "C" void* acad_malloc(size_t size) {
  if (size > SIZE_MAX - kHeader || injectFailure()) return nullptr;
  if (!kSmallBlocks || size > kSmallStorage - kHeader) return track(std::malloc(size + kHeader), size);
  SmallBlocks& kept = t_smallBlocks;
  void* raw = kept.count > 0 ? kept.raw[--kept.count] : std::malloc(kSmallStorage);
  return track(raw, size, Storage::kSmall);
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
  void* moved = static_cast<char*>(raw) + kHeader;
  storageOf(moved) = Storage::kExact;  // its storage is what realloc made it
  return moved;
}

extern "C" void acad_free(void* block) {
  if (!block) return;
  --g_liveBlocks;
  g_liveBytes -= sizeOf(block);
  void* raw = static_cast<char*>(block) - kHeader;
  if (storageOf(block) == Storage::kSmall) {
    SmallBlocks& kept = t_smallBlocks;
    if (kept.count < kKeptSmall) {
      kept.raw[kept.count++] = raw;
      return;
    }
  }
  std::free(raw);
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
void releaseKeptBlocks() { t_smallBlocks.release(); }
void failAfter(uint64_t n) {
  g_failCountdown = n;
  g_failureFired = false;
}
bool takeFiredFailure() { return g_failureFired.exchange(false); }
}  // namespace acad::heap
