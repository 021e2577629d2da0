// Inside vrml.arx the module's allocation layer sends operator new and delete
// to the host allocator; linked into a test binary, this does the same, so the
// tests see the module's blocks in the host's accounting, and a shortage
// throws the framework's out-of-memory error as it does there.
#include <new>

#include "acadmem.h"
#include "afx.h"

void* operator new(std::size_t size) {
  if (void* block = acad_malloc(size ? size : 1)) return block;
  AfxThrowMemoryException();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return acad_malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return acad_malloc(size ? size : 1); }
void operator delete(void* block) noexcept { acad_free(block); }
void operator delete[](void* block) noexcept { acad_free(block); }
void operator delete(void* block, std::size_t) noexcept { acad_free(block); }
void operator delete[](void* block, std::size_t) noexcept { acad_free(block); }
