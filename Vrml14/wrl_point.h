// One vertex of an exported object, in the axes of the world file.
#pragma once
#include <cmath>

class WrlPoint {
 public:
  // From drawing coordinates: the drawing's Z becomes the file's Y and its Y
  // the file's -Z; every coordinate is snapped. Inline: every vertex of an
  // export is made here.
  WrlPoint(double drawingX, double drawingY, double drawingZ)
      : m_x(snap(drawingX)), m_y(snap(drawingZ)), m_z(snap(-drawingY)) {}

  double x() const { return m_x; }
  double y() const { return m_y; }
  double z() const { return m_z; }

  // Magnitudes below 0.00001 become +0.0 so that no -0.0 or noise reaches
  // the file; NaN passes unchanged.
  // One comparison of the magnitude, which NaN fails, so that it compiles
  // without branches.
  static double snap(double value) {
    constexpr double kSnapLimit = 0.00001;
    return std::fabs(value) < kSnapLimit ? 0.0 : value;
  }

 private:
  double m_x;
  double m_y;
  double m_z;
};
