// Reads a world file with an independent VRML parser and prints what it
// holds, one fact a line:
//   version 1|2, shapes N, points N, faces N, badindex N (corner numbers
//   outside their coordinates), then per anchor url "..." and
//   description "..." (quote and backslash escaped).
// With --convex it also prints, after badindex, nonconvex N and nonplanar N:
// four-corner faces declared convex that have a reflex corner or are
// twisted, beyond what the writer's rounding explains.
// Exits 1 when the file does not parse, 2 on bad usage.
// VRML 1.0 defines two backslashes in a string as one; the parser keeps both
// (and cannot read a string that ends in a backslash), so 1.0 strings are
// undone here.
#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/VRMLnodes/SoVRMLAnchor.h>
#include <Inventor/VRMLnodes/SoVRMLCoordinate.h>
#include <Inventor/VRMLnodes/SoVRMLIndexedFaceSet.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/errors/SoReadError.h>
#include <Inventor/nodes/SoIndexedFaceSet.h>
#include <Inventor/nodes/SoSeparator.h>
#include <Inventor/nodes/SoShapeHints.h>
#include <Inventor/nodes/SoWWWAnchor.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Facts {
  long shapes = 0;
  long points = 0;
  long faces = 0;
  long badIndexes = 0;
  long nonConvex = 0;
  long nonPlanar = 0;
  std::vector<std::string> anchorLines;
};

int g_readErrors = 0;
bool g_version1 = false;

void onReadError(const SoError* error, void*) {
  ++g_readErrors;
  std::fprintf(stderr, "error %s\n", error->getDebugString().getString());
}

std::string quoted(const char* text) {
  std::string out = "\"";
  for (; *text; ++text) {
    if (g_version1 && text[0] == '\\' && text[1] == '\\') ++text;
    if (*text == '"' || *text == '\\') out += '\\';
    out += *text;
  }
  return out + "\"";
}

bool g_judgeShapes = false;

struct Point {
  double x, y, z;
  Point operator-(const Point& o) const { return {x - o.x, y - o.y, z - o.z}; }
  Point cross(const Point& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
  double dot(const Point& o) const { return x * o.x + y * o.y + z * o.z; }
  double length() const { return std::sqrt(dot(*this)); }
};

// A twist or a reflex turn up to this share of the face's size is taken as
// flat and convex, as the exporter takes it.
constexpr double kShapeTolerance = 1e-4;

// How far a coordinate read back may lie from the one exported: six
// decimals, single precision, and magnitudes below 0.00001 written as 0.
double roundingOf(const Point (&p)[4]) {
  double largest = 0;
  bool snapped = false;
  for (const Point& q : p)
    for (double v : {q.x, q.y, q.z}) {
      largest = std::max(largest, std::fabs(v));
      snapped = snapped || v == 0;
    }
  return 5e-7 + largest * 1.2e-7 + (snapped ? 1e-5 : 0);
}

// A four-corner face judged in the plane across its diagonals, or, for a
// bow-tie whose loops cancel there, in that of its widest corner.
void judgeQuad(const Point (&p)[4], Facts& facts) {
  Point diagonal0 = p[2] - p[0], diagonal1 = p[3] - p[1];
  Point normal = diagonal0.cross(diagonal1);
  for (int i = 0; i < 4; ++i) {
    Point corner = (p[(i + 1) % 4] - p[i]).cross(p[(i + 3) % 4] - p[i]);
    if (corner.length() * kShapeTolerance > normal.length()) normal = corner;
  }
  double area = normal.length();
  double error = roundingOf(p);
  double size = std::max(diagonal0.length(), diagonal1.length());
  if (area <= 4 * error * size) return;  // no area to fill beyond the rounding
  normal = {normal.x / area, normal.y / area, normal.z / area};
  // How far the rounding may turn the normal, in radians: a sliver's more.
  double tilt = 8 * error * size / area;
  double low = 0, high = 0;
  for (int i = 1; i < 4; ++i) {
    double height = (p[i] - p[0]).dot(normal);
    low = std::min(low, height);
    high = std::max(high, height);
  }
  if (high - low > (kShapeTolerance + tilt) * size + 4 * error) ++facts.nonPlanar;
  for (int i = 0; i < 4; ++i) {
    Point in = p[i] - p[(i + 3) % 4], out = p[(i + 1) % 4] - p[i];
    double slack = (kShapeTolerance + tilt) * in.length() * out.length() + 4 * error * (in.length() + out.length());
    if (in.cross(out).dot(normal) < -slack) {
      ++facts.nonConvex;
      return;
    }
  }
}

// Counts the faces of a coordIndex list and the corners outside 0..points-1;
// judges the shape of the four-corner ones when they are declared convex.
void countFaces(const SoMFInt32& coordIndex, const std::vector<Point>& points, bool convex, Facts& facts) {
  long count = static_cast<long>(points.size());
  long corners = 0;
  bool inRange = true;
  Point quad[4];
  auto endFace = [&] {
    if (corners > 0) ++facts.faces;
    if (g_judgeShapes && convex && inRange && corners == 4) judgeQuad(quad, facts);
    corners = 0;
    inRange = true;
  };
  for (int i = 0; i < coordIndex.getNum(); ++i) {
    int32_t index = coordIndex[i];
    if (index == -1) {
      endFace();
      continue;
    }
    bool valid = index >= 0 && index < count;
    if (!valid) ++facts.badIndexes;
    inRange = inRange && valid;
    if (valid && corners < 4) quad[corners] = points[index];
    ++corners;
  }
  endFace();
}

void countShape(Facts& facts, const std::vector<Point>& points, const SoMFInt32& coordIndex, bool convex) {
  ++facts.shapes;
  facts.points += static_cast<long>(points.size());
  countFaces(coordIndex, points, convex, facts);
}

Point pointOf(const SbVec3f& v) { return {v[0], v[1], v[2]}; }

// A 1.0 face set takes the coordinates and shape hints of the traversal state.
SoCallbackAction::Response onOldFaceSet(void* data, SoCallbackAction* action, const SoNode* node) {
  std::vector<Point> points;
  for (int i = 0; i < action->getNumCoordinates(); ++i) points.push_back(pointOf(action->getCoordinate3(i)));
  countShape(*static_cast<Facts*>(data), points, static_cast<const SoIndexedFaceSet*>(node)->coordIndex,
             action->getFaceType() == SoShapeHints::CONVEX);
  return SoCallbackAction::CONTINUE;
}

// A 2.0 face set names its own coordinate node and says itself whether it
// is convex.
SoCallbackAction::Response onFaceSet(void* data, SoCallbackAction*, const SoNode* node) {
  auto* faceSet = static_cast<const SoVRMLIndexedFaceSet*>(node);
  auto* coordinates = static_cast<SoVRMLCoordinate*>(faceSet->coord.getValue());
  std::vector<Point> points;
  if (coordinates)
    for (int i = 0; i < coordinates->point.getNum(); ++i) points.push_back(pointOf(coordinates->point[i]));
  countShape(*static_cast<Facts*>(data), points, faceSet->coordIndex, faceSet->convex.getValue());
  return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response onOldAnchor(void* data, SoCallbackAction*, const SoNode* node) {
  auto& facts = *static_cast<Facts*>(data);
  auto* anchor = static_cast<const SoWWWAnchor*>(node);
  facts.anchorLines.push_back("url " + quoted(anchor->name.getValue().getString()));
  if (anchor->description.getValue().getLength() > 0 || !anchor->description.isDefault())
    facts.anchorLines.push_back("description " + quoted(anchor->description.getValue().getString()));
  return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response onAnchor(void* data, SoCallbackAction*, const SoNode* node) {
  auto& facts = *static_cast<Facts*>(data);
  auto* anchor = static_cast<const SoVRMLAnchor*>(node);
  for (int i = 0; i < anchor->url.getNum(); ++i)
    facts.anchorLines.push_back("url " + quoted(anchor->url[i].getString()));
  if (!anchor->description.isDefault())
    facts.anchorLines.push_back("description " + quoted(anchor->description.getValue().getString()));
  return SoCallbackAction::CONTINUE;
}

}  // namespace

// Coin keeps blocks until the process ends; they are the reader's, not ours,
// so a sanitizer build does not count them as leaks.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

int main(int argc, char** argv) {
  g_judgeShapes = argc == 3 && std::strcmp(argv[1], "--convex") == 0;
  if (argc != 2 && !g_judgeShapes) {
    std::fprintf(stderr, "usage: vrmlcheck [--convex] FILE.wrl\n");
    return 2;
  }
  const char* path = argv[argc - 1];
  SoDB::init();
  SoReadError::setHandlerCallback(onReadError, nullptr);
  SoInput input;
  if (!input.openFile(path)) {
    std::fprintf(stderr, "error cannot open %s\n", path);
    return 1;
  }
  bool modern = input.isFileVRML2();
  g_version1 = !modern;
  SoSeparator* root = SoDB::readAll(&input);
  if (!root || g_readErrors > 0) {
    std::fprintf(stderr, "error %s does not parse\n", path);
    return 1;
  }
  root->ref();
  Facts facts;
  SoCallbackAction action;
  action.addPreCallback(SoIndexedFaceSet::getClassTypeId(), onOldFaceSet, &facts);
  action.addPreCallback(SoVRMLIndexedFaceSet::getClassTypeId(), onFaceSet, &facts);
  action.addPreCallback(SoWWWAnchor::getClassTypeId(), onOldAnchor, &facts);
  action.addPreCallback(SoVRMLAnchor::getClassTypeId(), onAnchor, &facts);
  action.apply(root);
  std::printf("version %d\nshapes %ld\npoints %ld\nfaces %ld\nbadindex %ld\n", modern ? 2 : 1, facts.shapes,
              facts.points, facts.faces, facts.badIndexes);
  if (g_judgeShapes) std::printf("nonconvex %ld\nnonplanar %ld\n", facts.nonConvex, facts.nonPlanar);
  for (const std::string& line : facts.anchorLines) std::printf("%s\n", line.c_str());
  root->unref();
  return 0;
}
