// Reads a world file with an independent VRML parser and prints what it
// holds, one fact a line:
//   version 1|2, shapes N, points N, faces N, badindex N (corner numbers
//   outside their coordinates), then per anchor url "..." and
//   description "..." (quote and backslash escaped).
// Exits 1 when the file does not parse, 2 on bad usage.
// VRML 1.0 defines two backslashes in a string as one; the parser keeps both
// (and cannot read a string that ends in a backslash), so 1.0 strings are
// undone here.
#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/errors/SoReadError.h>
#include <Inventor/nodes/SoIndexedFaceSet.h>
#include <Inventor/nodes/SoSeparator.h>
#include <Inventor/nodes/SoWWWAnchor.h>
#include <Inventor/VRMLnodes/SoVRMLAnchor.h>
#include <Inventor/VRMLnodes/SoVRMLCoordinate.h>
#include <Inventor/VRMLnodes/SoVRMLIndexedFaceSet.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Facts {
  long shapes = 0;
  long points = 0;
  long faces = 0;
  long badIndexes = 0;
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

// Counts the faces of a coordIndex list and the corners outside 0..points-1.
void countFaces(const SoMFInt32& coordIndex, long points, Facts& facts) {
  long corners = 0;
  for (int i = 0; i < coordIndex.getNum(); ++i) {
    int32_t index = coordIndex[i];
    if (index == -1) {
      if (corners > 0) ++facts.faces;
      corners = 0;
      continue;
    }
    if (index < 0 || index >= points) ++facts.badIndexes;
    ++corners;
  }
  if (corners > 0) ++facts.faces;
}

void countShape(Facts& facts, long points, const SoMFInt32& coordIndex) {
  ++facts.shapes;
  facts.points += points;
  countFaces(coordIndex, points, facts);
}

// A 1.0 face set takes the coordinates of the traversal state.
SoCallbackAction::Response onOldFaceSet(void* data, SoCallbackAction* action, const SoNode* node) {
  countShape(*static_cast<Facts*>(data), action->getNumCoordinates(),
             static_cast<const SoIndexedFaceSet*>(node)->coordIndex);
  return SoCallbackAction::CONTINUE;
}

// A 2.0 face set names its own coordinate node.
SoCallbackAction::Response onFaceSet(void* data, SoCallbackAction*, const SoNode* node) {
  auto* faceSet = static_cast<const SoVRMLIndexedFaceSet*>(node);
  auto* coordinates = static_cast<SoVRMLCoordinate*>(faceSet->coord.getValue());
  countShape(*static_cast<Facts*>(data), coordinates ? coordinates->point.getNum() : 0, faceSet->coordIndex);
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
  for (int i = 0; i < anchor->url.getNum(); ++i) facts.anchorLines.push_back("url " + quoted(anchor->url[i].getString()));
  if (!anchor->description.isDefault())
    facts.anchorLines.push_back("description " + quoted(anchor->description.getValue().getString()));
  return SoCallbackAction::CONTINUE;
}

}  // namespace

// Coin keeps blocks until the process ends; they are the reader's, not ours,
// so a sanitizer build does not count them as leaks.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vrmlcheck FILE.wrl\n");
    return 2;
  }
  SoDB::init();
  SoReadError::setHandlerCallback(onReadError, nullptr);
  SoInput input;
  if (!input.openFile(argv[1])) {
    std::fprintf(stderr, "error cannot open %s\n", argv[1]);
    return 1;
  }
  bool modern = input.isFileVRML2();
  g_version1 = !modern;
  SoSeparator* root = SoDB::readAll(&input);
  if (!root || g_readErrors > 0) {
    std::fprintf(stderr, "error %s does not parse\n", argv[1]);
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
  for (const std::string& line : facts.anchorLines) std::printf("%s\n", line.c_str());
  root->unref();
  return 0;
}
