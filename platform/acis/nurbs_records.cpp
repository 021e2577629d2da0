#include "acis/nurbs_records.h"

#include <algorithm>

namespace acis::detail {

namespace {

constexpr int64_t kMaxDegree = 32;

enum class Closure { Open, Closed, Periodic };

bool readClosure(Cursor& in, Closure& closure) {
  std::string_view word;
  int64_t number = 0;
  if (in.word(word)) {
    if (word == "open") closure = Closure::Open;
    else if (word == "closed") closure = Closure::Closed;
    else if (word == "periodic") closure = Closure::Periodic;
    else return false;
    return true;
  }
  if (!in.integer(number) || number < 0 || number > 2) return false;
  closure = static_cast<Closure>(number);
  return true;
}

bool readForm(Cursor& in, bool& rational, std::string& reason) {
  std::string_view form;
  if (!in.word(form)) {
    reason = "spline data without its form";
    return false;
  }
  if (form == "nubs" || form == "nurbs") {
    rational = form == "nurbs";
    return true;
  }
  reason = "spline data of form \"" + std::string(form.substr(0, 32)) + "\"";
  return false;
}

bool readDegree(Cursor& in, int32_t& degree) {
  int64_t value = 0;
  if (!in.integer(value) || value < 1 || value > kMaxDegree) return false;
  degree = static_cast<int32_t>(value);
  return true;
}

// `count` distinct knots with their multiplicities; the file leaves out one
// knot at each end of the clamped form, which is added back here. False
// unless they make the knots of `points` control points.
bool readKnots(Cursor& in, int64_t count, int32_t degree, std::vector<double>& knots, int64_t& points) {
  if (count < 2 || count > static_cast<int64_t>(in.remaining())) return false;
  for (int64_t i = 0; i < count; ++i) {
    double value = 0;
    int64_t multiplicity = 0;
    if (!in.real(value) || !in.integer(multiplicity) || multiplicity < 1 || multiplicity > degree + 1) return false;
    if (!knots.empty() && value < knots.back()) return false;
    if (knots.empty()) knots.push_back(value);
    knots.insert(knots.end(), static_cast<size_t>(multiplicity), value);
  }
  knots.push_back(knots.back());
  points = static_cast<int64_t>(knots.size()) - degree - 1;
  return points > degree;
}

bool readPoint(Cursor& in, bool rational, acis::Vec3& point, std::vector<double>& weights) {
  if (!in.vec3(point)) return false;
  if (!rational) return true;
  double weight = 0;
  if (!in.real(weight) || !(weight > 0)) return false;
  weights.push_back(weight);
  return true;
}

}  // namespace

bool readNurbsCurve(Cursor& in, acis::NurbsCurve& curve, std::string& reason) {
  if (!readForm(in, curve.rational, reason)) return false;
  Closure closure = Closure::Open;
  int64_t knotCount = 0, points = 0;
  reason = "damaged spline curve data";
  if (!readDegree(in, curve.degree) || !readClosure(in, closure) || !in.integer(knotCount) ||
      !readKnots(in, knotCount, curve.degree, curve.knots, points) || points > static_cast<int64_t>(in.remaining()))
    return false;
  curve.closed = closure != Closure::Open;
  curve.periodic = closure == Closure::Periodic;
  curve.controlPoints.resize(static_cast<size_t>(points));
  for (acis::Vec3& point : curve.controlPoints)
    if (!readPoint(in, curve.rational, point, curve.weights)) return false;
  reason.clear();
  return true;
}

bool readNurbsSurface(Cursor& in, acis::NurbsSurface& surface, std::string& reason) {
  if (!readForm(in, surface.rational, reason)) return false;
  Closure closureU = Closure::Open, closureV = Closure::Open;
  std::string_view singularity;
  int64_t knotsU = 0, knotsV = 0, countU = 0, countV = 0;
  reason = "damaged spline surface data";
  if (!readDegree(in, surface.degreeU) || !readDegree(in, surface.degreeV) || !readClosure(in, closureU) ||
      !readClosure(in, closureV))
    return false;
  // The singularities (poles) at the ends of each direction; the control
  // net already has them.
  for (int i = 0; i < 2; ++i) {
    int64_t number = 0;
    if (!in.word(singularity) && !in.integer(number)) return false;
  }
  if (!in.integer(knotsU) || !in.integer(knotsV) || !readKnots(in, knotsU, surface.degreeU, surface.knotsU, countU) ||
      !readKnots(in, knotsV, surface.degreeV, surface.knotsV, countV))
    return false;
  const int64_t available = static_cast<int64_t>(in.remaining());
  if (countU > available || countV > available || countU * countV > available) return false;
  surface.closedU = closureU != Closure::Open;
  surface.closedV = closureV != Closure::Open;
  surface.periodicU = closureU == Closure::Periodic;
  surface.periodicV = closureV == Closure::Periodic;
  surface.countU = static_cast<int32_t>(countU);
  surface.countV = static_cast<int32_t>(countV);
  // The file runs u fastest; the model keeps rows of constant u.
  std::vector<double> weights;
  std::vector<acis::Vec3> points(static_cast<size_t>(countU * countV));
  for (int64_t v = 0; v < countV; ++v)
    for (int64_t u = 0; u < countU; ++u)
      if (!readPoint(in, surface.rational, points[static_cast<size_t>(u * countV + v)], weights)) return false;
  if (surface.rational) {
    surface.weights.resize(weights.size());
    for (int64_t v = 0; v < countV; ++v)
      for (int64_t u = 0; u < countU; ++u)
        surface.weights[static_cast<size_t>(u * countV + v)] = weights[static_cast<size_t>(v * countU + u)];
  }
  surface.controlPoints = std::move(points);
  reason.clear();
  return true;
}

namespace {

void reverseKnots(std::vector<double>& knots) {
  std::reverse(knots.begin(), knots.end());
  for (double& knot : knots) knot = -knot;
}

}  // namespace

void reverseCurve(acis::NurbsCurve& curve) {
  reverseKnots(curve.knots);
  std::reverse(curve.controlPoints.begin(), curve.controlPoints.end());
  std::reverse(curve.weights.begin(), curve.weights.end());
}

void reverseSurfaceV(acis::NurbsSurface& surface) {
  reverseKnots(surface.knotsV);
  const size_t countV = static_cast<size_t>(surface.countV);
  for (size_t row = 0; row < static_cast<size_t>(surface.countU); ++row) {
    auto first = surface.controlPoints.begin() + static_cast<std::ptrdiff_t>(row * countV);
    std::reverse(first, first + static_cast<std::ptrdiff_t>(countV));
    if (surface.rational) {
      auto weight = surface.weights.begin() + static_cast<std::ptrdiff_t>(row * countV);
      std::reverse(weight, weight + static_cast<std::ptrdiff_t>(countV));
    }
  }
}

}  // namespace acis::detail
