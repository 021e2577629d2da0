// The extent of the shapes in a world file as the module writes it, in the
// world's own units (its scale applied).
#pragma once
#include <string>
#include <string_view>

struct WorldBounds {
  bool empty = true;
  double low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
  void add(const double point[3]);
};

// From the points of every shape and the world's scale. A world without
// shapes gives empty bounds.
WorldBounds worldBounds(std::string_view world);
// The same for a world file; false when it cannot be read.
bool readWorldBounds(const std::string& world, WorldBounds& bounds);
