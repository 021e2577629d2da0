// One vertex of an exported object, in the axes of the world file.
#pragma once

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
  static double snap(double value) {
    constexpr double kSnapLimit = 0.00001;
    if (value >= 0.0) return value < kSnapLimit ? 0.0 : value;
    if (value < 0.0) return value > -kSnapLimit ? 0.0 : value;
    return value;  // NaN: neither comparison holds
  }

 private:
  double m_x;
  double m_y;
  double m_z;
};
