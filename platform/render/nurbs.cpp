#include "nurbs.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

constexpr int32_t kMaxDegree = 25;

bool knotsUsable(const std::vector<double>& knots, int32_t degree, size_t count) {
  if (degree < 1 || degree > kMaxDegree || count < static_cast<size_t>(degree) + 1) return false;
  if (knots.size() != count + degree + 1) return false;
  for (size_t i = 0; i < knots.size(); ++i)
    if (!std::isfinite(knots[i]) || (i > 0 && knots[i] < knots[i - 1])) return false;
  return knots[count] > knots[degree];
}

// The span s with knots[s] <= t < knots[s + 1] inside the curve's range, and
// the degree + 1 basis functions that are not zero there (Cox - de Boor).
size_t basis(const std::vector<double>& knots, int32_t degree, size_t count, double t, double* values) {
  double first = knots[degree], last = knots[count];
  t = std::clamp(t, first, last);
  size_t span = static_cast<size_t>(std::upper_bound(knots.begin() + degree, knots.begin() + count, t) -
                                    knots.begin()) -
                1;
  double left[kMaxDegree + 1], right[kMaxDegree + 1];
  values[0] = 1;
  for (int32_t j = 1; j <= degree; ++j) {
    left[j] = t - knots[span + 1 - j];
    right[j] = knots[span + j] - t;
    double saved = 0;
    for (int32_t r = 0; r < j; ++r) {
      double denominator = right[r + 1] + left[j - r];
      double term = denominator != 0 ? values[r] / denominator : 0;
      values[r] = saved + right[r + 1] * term;
      saved = left[j - r] * term;
    }
    values[j] = saved;
  }
  return span;
}

}  // namespace

bool nurbsUsable(const acis::NurbsCurve& curve) {
  size_t count = curve.controlPoints.size();
  return knotsUsable(curve.knots, curve.degree, count) && (!curve.rational || curve.weights.size() == count);
}

bool nurbsUsable(const acis::NurbsSurface& surface) {
  if (surface.countU < 1 || surface.countV < 1) return false;
  size_t count = static_cast<size_t>(surface.countU) * static_cast<size_t>(surface.countV);
  return knotsUsable(surface.knotsU, surface.degreeU, surface.countU) &&
         knotsUsable(surface.knotsV, surface.degreeV, surface.countV) && surface.controlPoints.size() == count &&
         (!surface.rational || surface.weights.size() == count);
}

void nurbsRange(const std::vector<double>& knots, int32_t degree, double& first, double& last) {
  first = knots[degree];
  last = knots[knots.size() - degree - 1];
}

Vec3 nurbsPoint(const acis::NurbsCurve& curve, double t) {
  double n[kMaxDegree + 1];
  size_t span = basis(curve.knots, curve.degree, curve.controlPoints.size(), t, n);
  Vec3 sum;
  double weight = 0;
  for (int32_t j = 0; j <= curve.degree; ++j) {
    size_t k = span - curve.degree + j;
    double w = curve.rational ? curve.weights[k] : 1.0;
    sum = sum + curve.controlPoints[k] * (n[j] * w);
    weight += n[j] * w;
  }
  return sum * (1.0 / weight);
}

Vec3 nurbsPoint(const acis::NurbsSurface& surface, double u, double v) {
  double nu[kMaxDegree + 1], nv[kMaxDegree + 1];
  size_t spanU = basis(surface.knotsU, surface.degreeU, surface.countU, u, nu);
  size_t spanV = basis(surface.knotsV, surface.degreeV, surface.countV, v, nv);
  Vec3 sum;
  double weight = 0;
  for (int32_t i = 0; i <= surface.degreeU; ++i) {
    for (int32_t j = 0; j <= surface.degreeV; ++j) {
      size_t k = (spanU - surface.degreeU + i) * surface.countV + (spanV - surface.degreeV + j);
      double w = (surface.rational ? surface.weights[k] : 1.0) * nu[i] * nv[j];
      sum = sum + surface.controlPoints[k] * w;
      weight += w;
    }
  }
  return sum * (1.0 / weight);
}

}  // namespace render
