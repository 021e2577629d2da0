#include "world_bounds.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

std::string trimmed(std::string_view line) {
  size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return "";
  return std::string(line.substr(first, line.find_last_not_of(" \t\r") - first + 1));
}

// The scale line of either version: "scaleFactor s s s" or "scale s s s".
bool readScale(const std::string& line, double& scale) {
  double x = 0, y = 0, z = 0;
  for (const char* format : {"scaleFactor %lf %lf %lf", "scale %lf %lf %lf"})
    if (std::sscanf(line.c_str(), format, &x, &y, &z) == 3) {
      scale = x;
      return true;
    }
  return false;
}

}  // namespace

void WorldBounds::add(const double point[3]) {
  for (int axis = 0; axis < 3; ++axis) {
    low[axis] = empty ? point[axis] : std::min(low[axis], point[axis]);
    high[axis] = empty ? point[axis] : std::max(high[axis], point[axis]);
  }
  empty = false;
}

WorldBounds worldBounds(std::string_view world) {
  WorldBounds bounds;
  double scale = 1;
  bool inPoints = false;
  for (size_t start = 0; start < world.size();) {
    size_t end = std::min(world.find('\n', start), world.size());
    std::string text = trimmed(world.substr(start, end - start));
    start = end + 1;
    if (inPoints) {
      double point[3];
      inPoints = std::sscanf(text.c_str(), "%lf %lf %lf", &point[0], &point[1], &point[2]) == 3;
      if (inPoints) bounds.add(point);
    } else if (text.starts_with("point") && text.ends_with("[")) {
      inPoints = true;
    } else {
      readScale(text, scale);
    }
  }
  for (int axis = 0; axis < 3; ++axis) {
    bounds.low[axis] *= scale;
    bounds.high[axis] *= scale;
  }
  return bounds;
}

bool readWorldBounds(const std::string& world, WorldBounds& bounds) {
  std::ifstream in(world, std::ios::binary);
  if (!in) return false;
  bounds = worldBounds(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  return true;
}
