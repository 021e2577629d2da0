#include "model_framing.h"

#include <cmath>

namespace {

// Every model is brought to this radius, so that the viewer's near and far
// planes suit it whether it is a few millimetres or kilometres across.
constexpr double kModelRadius = 10;
// Where the camera stands, seen from the model's centre (x right, y up, z
// towards the front).
constexpr double kViewDirection[3] = {1, 0.8, 1.2};

// The orientation that turns the default view towards the origin from
// `eye`: a turn about y, then a tilt about x.
void orientationFrom(const double eye[3], double orientation[4]) {
  double yaw = std::atan2(eye[0], eye[2]);
  double pitch = -std::atan2(eye[1], std::hypot(eye[0], eye[2]));
  double cy = std::cos(yaw / 2), sy = std::sin(yaw / 2), cx = std::cos(pitch / 2), sx = std::sin(pitch / 2);
  double w = cy * cx, axis[3] = {cy * sx, sy * cx, -sy * sx};
  double length = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
  if (length == 0) {
    orientation[0] = 0, orientation[1] = 0, orientation[2] = 1, orientation[3] = 0;
    return;
  }
  for (int i = 0; i < 3; ++i) orientation[i] = axis[i] / length;
  orientation[3] = 2 * std::acos(w);
}

}  // namespace

ModelFraming frameModel(const WorldBounds& bounds) {
  ModelFraming framing{};
  double centre[3], radius = 0;
  for (int axis = 0; axis < 3; ++axis) {
    centre[axis] = (bounds.low[axis] + bounds.high[axis]) / 2;
    double half = (bounds.high[axis] - bounds.low[axis]) / 2;
    radius += half * half;
  }
  radius = std::sqrt(radius);
  framing.scale = radius > 0 && std::isfinite(radius) ? kModelRadius / radius : 1;
  for (int axis = 0; axis < 3; ++axis) framing.translation[axis] = -centre[axis] * framing.scale;
  // The bounding sphere is a generous frame: most models fill less of it.
  double distance = kModelRadius / std::sin(kFramingFieldOfView / 2) * 0.8;
  const double* d = kViewDirection;
  double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  for (int axis = 0; axis < 3; ++axis) framing.position[axis] = d[axis] / length * distance;
  orientationFrom(framing.position, framing.orientation);
  return framing;
}
