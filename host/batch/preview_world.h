// A world made only for the picture: it includes the exported world unchanged,
// scaled and moved to a fixed size around the origin, and looks at it from
// the front right, above, with a headlight and a light from above.
#pragma once
#include <string>

#include "world_bounds.h"

// The VRML 2.0 text of that world; `world` is the exported file's absolute path.
std::string previewWorld(const std::string& world, const WorldBounds& bounds);
