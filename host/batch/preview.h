// A picture of a world file, taken by a VRML viewer on a virtual screen.
#pragma once
#include <string>

// Renders `world` into the PNG `picture`; false with the reason when the
// viewer is missing or fails.
bool renderPreview(const std::string& world, const std::string& picture, std::string& error);
