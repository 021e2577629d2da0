// The framework root: class allocation on the host heap.
#include "acadmem.h"
#include "afx.h"

void* CObject::operator new(size_t size) {
  if (void* block = acad_malloc(size ? size : 1)) return block;
  AfxThrowMemoryException();
}

void* CObject::operator new[](size_t size) { return CObject::operator new(size); }

void CObject::operator delete(void* block) noexcept { acad_free(block); }

void CObject::operator delete[](void* block) noexcept { acad_free(block); }

CObject::~CObject() = default;
