#include "wrl_point.h"

namespace {
constexpr double kSnapLimit = 0.00001;
}

WrlPoint::WrlPoint(double drawingX, double drawingY, double drawingZ)
    : m_x(snap(drawingX)), m_y(snap(drawingZ)), m_z(snap(-drawingY)) {}

double WrlPoint::snap(double value) {
  if (value >= 0.0) return value < kSnapLimit ? 0.0 : value;
  if (value < 0.0) return value > -kSnapLimit ? 0.0 : value;
  return value;  // NaN: neither comparison holds
}
