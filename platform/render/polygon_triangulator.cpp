// The cutting is the GLU tessellator's: well tried on holes, touching
// contours and crossings, and on every Debian system.
#include "polygon_triangulator.h"

#include <GL/glu.h>

#include <deque>

namespace render {

namespace {

struct Run {
  std::vector<Vec2>& points;
  std::vector<Triangle>& triangles;
  std::deque<std::array<GLdouble, 3>> coordinates;  // must stay put until the end
  Triangle pending{};
  int corners = 0;
  bool failed = false;
};

void GLAPIENTRY onBegin(GLenum, void*) {}
// Asking for edge flags makes GLU hand out plain triangles only.
void GLAPIENTRY onEdgeFlag(GLboolean, void*) {}

void GLAPIENTRY onVertex(void* vertex, void* data) {
  Run& run = *static_cast<Run*>(data);
  run.pending[run.corners++] = static_cast<int32_t>(reinterpret_cast<intptr_t>(vertex));
  if (run.corners < 3) return;
  run.corners = 0;
  Triangle t = run.pending;
  const Vec2 &a = run.points[t[0]], &b = run.points[t[1]], &c = run.points[t[2]];
  double area = (b.u - a.u) * (c.v - a.v) - (c.u - a.u) * (b.v - a.v);
  if (area < 0) std::swap(t[1], t[2]);
  run.triangles.push_back(t);
}

void GLAPIENTRY onCombine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* data) {
  Run& run = *static_cast<Run*>(data);
  intptr_t index = static_cast<intptr_t>(run.points.size());
  run.points.push_back({coords[0], coords[1]});
  *out = reinterpret_cast<void*>(index);
}

void GLAPIENTRY onError(GLenum, void* data) { static_cast<Run*>(data)->failed = true; }

using Callback = void(GLAPIENTRY*)();

}  // namespace

bool triangulateRegion(std::vector<Vec2>& points, const std::vector<std::vector<int32_t>>& contours,
                       std::vector<Triangle>& triangles) {
  GLUtesselator* tess = gluNewTess();
  if (!tess) return false;
  Run run{points, triangles, {}, {}, 0, false};
  gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Callback>(onBegin));
  gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Callback>(onEdgeFlag));
  gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(onVertex));
  gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(onCombine));
  gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(onError));
  gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_POSITIVE);
  gluTessNormal(tess, 0, 0, 1);
  gluTessBeginPolygon(tess, &run);
  for (const std::vector<int32_t>& contour : contours) {
    gluTessBeginContour(tess);
    for (int32_t index : contour) {
      const Vec2& p = points[index];
      run.coordinates.push_back({p.u, p.v, 0});
      gluTessVertex(tess, run.coordinates.back().data(), reinterpret_cast<void*>(static_cast<intptr_t>(index)));
    }
    gluTessEndContour(tess);
  }
  gluTessEndPolygon(tess);
  gluDeleteTess(tess);
  return !run.failed;
}

}  // namespace render
