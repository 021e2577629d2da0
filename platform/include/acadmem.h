// The host allocator. One heap for the host and every loaded module: blocks
// may be allocated on one side and released on the other.
#pragma once
#include <cstddef>

extern "C" {
void* acad_malloc(size_t size);
void* acad_calloc(size_t count, size_t size);
void* acad_realloc(void* block, size_t size);
void acad_free(void* block);
size_t acad__msize(void* block);
char* acad__strdup(const char* text);
}
