// A world made only for the picture: it includes the exported world unchanged,
// framed as frameModel() says.
#pragma once
#include <string>

#include "world_bounds.h"

// The VRML 2.0 text of that world; `world` is the exported file's absolute path.
std::string previewWorld(const std::string& world, const WorldBounds& bounds);
