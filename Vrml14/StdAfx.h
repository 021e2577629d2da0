// What every source of the module includes: the host's and the framework's
// interfaces, and the allocation calls the module routes to the host.
#pragma once
#include <cstddef>

#include "acadmem.h"
#include "aced.h"
#include "acrx.h"
#include "adslib.h"
#include "afxwin.h"

// Block size and string duplication under the names the module uses; both go
// to the host allocator like every other allocation of the module.
extern "C" {
size_t _msize(void* block);
char* _strdup(const char* text);
}
