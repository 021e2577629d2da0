#include "preview_world.h"

#include <cmath>
#include <cstdio>

namespace {

// Every model is brought to this radius, so that the viewer's near and far
// planes suit it whether it is a few millimetres or kilometres across.
constexpr double kModelRadius = 10;
constexpr double kFieldOfView = 0.785398;
// Where the camera stands, seen from the model's centre (x right, y up, z
// towards the front).
constexpr double kViewDirection[3] = {1, 0.8, 1.2};

std::string numbers(std::initializer_list<double> values) {
  std::string text;
  char buffer[32];
  for (double value : values) {
    std::snprintf(buffer, sizeof buffer, "%s%.6g", text.empty() ? "" : " ", value);
    text += buffer;
  }
  return text;
}

// The url of a local file, with the characters a VRML string cannot hold escaped.
std::string quotedUrl(const std::string& path) {
  std::string url = "\"";
  for (char c : path) {
    if (c == '"' || c == '\\') url += '\\';
    url += c;
  }
  return url + "\"";
}

// The Viewpoint's orientation that turns the default view (along -z, y up)
// towards the origin from `eye`: a turn about y, then a tilt about x.
std::string orientationFrom(const double eye[3]) {
  double yaw = std::atan2(eye[0], eye[2]);
  double pitch = -std::atan2(eye[1], std::hypot(eye[0], eye[2]));
  double cy = std::cos(yaw / 2), sy = std::sin(yaw / 2), cx = std::cos(pitch / 2), sx = std::sin(pitch / 2);
  double w = cy * cx, axis[3] = {cy * sx, sy * cx, -sy * sx};
  double length = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
  if (length == 0) return "0 0 1 0";
  return numbers({axis[0] / length, axis[1] / length, axis[2] / length, 2 * std::acos(w)});
}

}  // namespace

std::string previewWorld(const std::string& world, const WorldBounds& bounds) {
  double centre[3], radius = 0;
  for (int axis = 0; axis < 3; ++axis) {
    centre[axis] = (bounds.low[axis] + bounds.high[axis]) / 2;
    double half = (bounds.high[axis] - bounds.low[axis]) / 2;
    radius += half * half;
  }
  radius = std::sqrt(radius);
  double scale = radius > 0 && std::isfinite(radius) ? kModelRadius / radius : 1;
  // The bounding sphere is a generous frame: most models fill less of it.
  double distance = kModelRadius / std::sin(kFieldOfView / 2) * 0.8;
  const double* d = kViewDirection;
  double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  double eye[3] = {d[0] / length * distance, d[1] / length * distance, d[2] / length * distance};
  return "#VRML V2.0 utf8\n"
         "NavigationInfo { type [\"EXAMINE\", \"ANY\"] headlight TRUE }\n"
         "Background { skyColor [0.18 0.2 0.24] }\n"
         "Viewpoint { position " + numbers({eye[0], eye[1], eye[2]}) + " orientation " + orientationFrom(eye) +
         " fieldOfView " + numbers({kFieldOfView}) + " description \"preview\" }\n"
         "DirectionalLight { direction -0.3 -1 -0.5 intensity 0.5 }\n"
         "Transform {\n"
         "  translation " + numbers({-centre[0] * scale, -centre[1] * scale, -centre[2] * scale}) + "\n"
         "  scale " + numbers({scale, scale, scale}) + "\n"
         "  children [ Inline { url " + quotedUrl(world) + " } ]\n"
         "}\n";
}
