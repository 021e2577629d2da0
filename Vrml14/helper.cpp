// The library's load hook and the module's allocation layer: every block the
// module allocates comes from the host allocator, so blocks may cross the
// boundary with the host in both directions.
#include <dlfcn.h>

#include <cstdint>
#include <cstring>
#include <new>

#include "ArxUtil.h"
#include "ZornVrml.h"
#include "afx.h"

namespace {

// Mapping records the module handle (the library's base address) and nothing
// else; unmapping destroys the statics that _SetacrxPtp built.
__attribute__((constructor)) void processAttach() {
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&processAttach), &info) && info.dli_fbase)
    setModuleHandle(static_cast<HINSTANCE>(info.dli_fbase));
}

__attribute__((destructor)) void processDetach() { destroyModuleStatics(); }

void* allocate(std::size_t size) {
  if (void* block = acad_malloc(size ? size : 1)) return block;
  AfxThrowMemoryException();
}

// Deleting nothing calls nothing.
void release(void* block) {
  if (block) acad_free(block);
}

// Over-aligned blocks: the block from the host is padded, and the word just
// below the aligned address keeps the block's own address.
void* allocateAligned(std::size_t size, std::align_val_t alignment) {
  std::size_t align = static_cast<std::size_t>(alignment);
  char* raw = static_cast<char*>(allocate(size + align + sizeof(void*)));
  std::size_t shift = align - (reinterpret_cast<std::uintptr_t>(raw + sizeof(void*)) % align);
  char* aligned = raw + sizeof(void*) + (shift == align ? 0 : shift);
  std::memcpy(aligned - sizeof(void*), &raw, sizeof raw);
  return aligned;
}

void releaseAligned(void* block) {
  if (!block) return;
  void* raw;
  std::memcpy(&raw, static_cast<char*>(block) - sizeof(void*), sizeof raw);
  acad_free(raw);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return acad_malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return acad_malloc(size ? size : 1); }
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { release(block); }

void* operator new(std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return allocateAligned(size, alignment); }
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  try {
    return allocateAligned(size, alignment);
  } catch (CMemoryException* e) {
    e->Delete();
    return nullptr;
  }
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t& tag) noexcept {
  return operator new(size, alignment, tag);
}
void operator delete(void* block, std::align_val_t) noexcept { releaseAligned(block); }
void operator delete[](void* block, std::align_val_t) noexcept { releaseAligned(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { releaseAligned(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { releaseAligned(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { releaseAligned(block); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept { releaseAligned(block); }

// The C allocation calls, bound inside the module.
extern "C" {
void* malloc(std::size_t size) noexcept { return acad_malloc(size); }
void* calloc(std::size_t count, std::size_t size) noexcept { return acad_calloc(count, size); }
void* realloc(void* block, std::size_t size) noexcept { return acad_realloc(block, size); }
void free(void* block) noexcept { acad_free(block); }
char* strdup(const char* text) noexcept { return acad__strdup(text); }
size_t _msize(void* block) { return acad__msize(block); }
char* _strdup(const char* text) { return acad__strdup(text); }
}
