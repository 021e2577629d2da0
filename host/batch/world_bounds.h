// The extent of the shapes in a world file as the module writes it, in the
// world's own units (its scale applied).
#pragma once
#include <string>

struct WorldBounds {
  bool empty = true;
  double low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
  void add(const double point[3]);
};

// Reads the points of every shape and the file's scale; false when the file
// cannot be read. A world without shapes gives empty bounds.
bool readWorldBounds(const std::string& world, WorldBounds& bounds);
