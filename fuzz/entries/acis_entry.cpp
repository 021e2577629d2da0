// The solid modeller's reader on SAT text or SAB bytes (by the signature),
// with the promises the tessellator relies on checked on what it gives.
#include <cmath>
#include <string>

#include "acis/model.h"
#include "entries/fuzz_entries.h"

namespace fuzz_entry {
namespace {

template <typename Vector>
bool inRange(int32_t index, const Vector& items) {
  return index >= 0 && static_cast<size_t>(index) < items.size();
}

// A B-spline the tessellator can evaluate: knots and weights that fit the
// control points.
std::string nurbsProblem(const acis::NurbsCurve& c) {
  if (c.knots.size() != c.controlPoints.size() + static_cast<size_t>(c.degree) + 1) return "curve knots do not fit";
  if (c.rational && c.weights.size() != c.controlPoints.size()) return "curve weights do not fit";
  return "";
}

std::string nurbsProblem(const acis::NurbsSurface& s) {
  if (s.controlPoints.size() != static_cast<size_t>(s.countU) * static_cast<size_t>(s.countV))
    return "surface net does not fit its counts";
  if (s.knotsU.size() != static_cast<size_t>(s.countU + s.degreeU + 1) ||
      s.knotsV.size() != static_cast<size_t>(s.countV + s.degreeV + 1))
    return "surface knots do not fit";
  if (s.rational && s.weights.size() != s.controlPoints.size()) return "surface weights do not fit";
  return "";
}

std::string bodyProblem(const acis::Body& body) {
  for (const acis::Vertex& vertex : body.vertices)
    if (!vertex.point.isFinite()) return "a vertex is not finite";
  for (const acis::Edge& edge : body.edges) {
    if (!inRange(edge.start, body.vertices) || !inRange(edge.end, body.vertices))
      return "an edge's vertex is out of range";
    if (edge.curve != -1 && !inRange(edge.curve, body.curves)) return "an edge's curve is out of range";
    if (!std::isfinite(edge.startParam) || !std::isfinite(edge.endParam)) return "an edge parameter is not finite";
    if (edge.curve != -1 && body.curves[static_cast<size_t>(edge.curve)].kind == acis::CurveKind::Unsupported)
      return "a kept edge lies on an unsupported curve";
  }
  for (const acis::Curve& curve : body.curves)
    if (curve.kind == acis::CurveKind::Spline && !nurbsProblem(curve.spline).empty()) return nurbsProblem(curve.spline);
  for (const acis::Surface& surface : body.surfaces)
    if (surface.kind == acis::SurfaceKind::Spline && !nurbsProblem(surface.spline).empty())
      return nurbsProblem(surface.spline);
  for (const acis::Face& face : body.faces) {
    if (!face.supported) {
      if (face.reason.empty()) return "an unsupported face without a reason";
      continue;
    }
    if (!inRange(face.surface, body.surfaces)) return "a face's surface is out of range";
    if (body.surfaces[static_cast<size_t>(face.surface)].kind == acis::SurfaceKind::Unsupported)
      return "a supported face on an unsupported surface";
    for (const acis::Loop& loop : face.loops) {
      if (loop.coedges.empty()) return "an empty loop";
      for (const acis::Coedge& coedge : loop.coedges)
        if (!inRange(coedge.edge, body.edges)) return "a coedge's edge is out of range";
    }
  }
  int32_t covered = 0;
  for (const acis::Shell& shell : body.shells) {
    if (shell.firstFace != covered || shell.faceCount < 0) return "shells do not cover the faces in order";
    covered += shell.faceCount;
  }
  if (covered > static_cast<int32_t>(body.faces.size())) return "shells name faces past the last";
  return "";
}

}  // namespace

Result acis(std::string_view bytes) {
  const bool binary = bytes.starts_with("ACIS BinaryFile") || bytes.starts_with("ASM BinaryFile4");
  acis::ParseResult read = binary ? acis::parseSab({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()})
                                  : acis::parseSat(bytes);
  if (!read.ok) {
    if (read.error.empty()) return {Result::Broken, "refused without a reason"};
    return {Result::Refused, read.error};
  }
  std::string problem = bodyProblem(read.body);
  if (!problem.empty()) return {Result::Broken, problem};
  return {};
}

}  // namespace fuzz_entry
