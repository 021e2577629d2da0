// Paths of the files that lie beside the module.
#pragma once
#include <cstddef>

#include "wrl_scope.h"

// A new copy of `path` whose last `cut` characters (all of them in a shorter
// path) are replaced by `ending`: the module's own path with its extension
// changed names its menu or help file. Out of memory is the framework's error.
TextBuffer siblingPath(const char* path, size_t cut, const char* ending);
