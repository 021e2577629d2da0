// The facetter on fuzzed entities, one entity per facetting as an export
// does it, with every batch and the face file checked.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "acadmem.h"
#include "acre.h"
#include "adslib.h"
#include "drawing_file.h"
#include "entries/facet_drawing.h"
#include "entries/fuzz_entries.h"

namespace fuzz_entry {
namespace {

// Checks what the facetter delivers: batches in header, vertices, faces
// order, finite vertices, corners inside their batch.
class CheckingCallout : public AcreCallout {
 public:
  std::string problem;
  long long vertices = 0, polygons = 0;

  void slot0(int32_t) override {}
  void slot1(int32_t) override {}
  void slot2(int32_t, int32_t) override {}
  void slot5(int32_t) override {}
  void onHeader(const AcreMeshHeader* header) override {
    if (m_step != 0) note("a header inside a batch");
    if (header->vertexCount <= 0 || header->polygonCount <= 0) note("an empty batch");
    m_header = *header;
    vertices += header->vertexCount;
    polygons += header->polygonCount;
    m_step = 1;
  }
  void onVertices(const AcreVertex* points) override {
    if (m_step != 1) note("vertices without a header");
    for (int32_t i = 0; i < m_header.vertexCount; ++i)
      if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y) || !std::isfinite(points[i].z))
        note("a vertex that is not finite");
    m_step = 2;
  }
  void onFaces(const AcrePolygon* faces, const int32_t* const* corners) override {
    if (m_step != 2) note("faces without vertices");
    for (int32_t k = 0; k < m_header.polygonCount; ++k) {
      if (faces[k].cornerCount < 3 || faces[k].cornerCount > 4) note("a polygon with odd corners");
      for (int16_t j = 0; j < faces[k].cornerCount && j < 4; ++j)
        if (corners[k][j] < 0 || corners[k][j] >= m_header.vertexCount) note("a corner outside its batch");
    }
    m_step = 0;
  }

 private:
  void note(const char* what) {
    if (problem.empty()) problem = what;
  }
  AcreMeshHeader m_header{};
  int m_step = 0;
};

// The face file's closing line must count what the callout was given.
std::string checkFaceFile(const char* name, const CheckingCallout& callout) {
  std::ifstream in(name);
  std::string line, last;
  while (std::getline(in, line)) last = line;
  std::istringstream total(last);
  std::string word;
  long long vertices = -1, polygons = -1;
  total >> word >> vertices >> polygons;
  if (word != "total") return "a face file without its total";
  if (vertices != callout.vertices || polygons != callout.polygons) return "a face file that miscounts";
  return {};
}

// Facets the one-entity set; with no callout the polygons are only counted
// into the face file.
Acad::ErrorStatus facetSet(const ads_name one, AcreCallout* callout, char*& faceFile) {
  acreRegisterCallout(callout);
  faceFile = nullptr;
  Acad::ErrorStatus status = acreEntityToFaces(one, &faceFile, 0);
  acreRegisterCallout(nullptr);
  return status;
}

// A callout takes the polygons and no face file is written (the name is
// empty); the same entity without a callout gets a face file whose closing
// line counts what the callout was given.
std::string facetOne(const ads_name entity) {
  ads_name one;
  if (ads_ssadd(entity, nullptr, one) != RTNORM) return "an entity of the drawing that cannot be selected";
  CheckingCallout callout;
  char* faceFile = nullptr;
  Acad::ErrorStatus status = facetSet(one, &callout, faceFile);
  std::string problem = callout.problem;
  if (status == Acad::eOk && problem.empty() && faceFile) problem = "a face file beside a callout";
  acad_free(faceFile);
  if (status == Acad::eOk && problem.empty()) {
    Acad::ErrorStatus alone = facetSet(one, nullptr, faceFile);
    if (alone != status || !faceFile) problem = "no face file";
    else problem = checkFaceFile(faceFile, callout);
    if (faceFile) ::unlink(faceFile);
    acad_free(faceFile);
  }
  ads_ssfree(one);
  return problem;
}

}  // namespace

Result facet(std::string_view bytes) {
  support::Status opened = dxf::openFromMemory("faceted.dxf", facetDrawing(bytes));
  if (!opened.ok()) return {Result::Broken, "the decoded drawing does not read: " + opened.message()};
  ads_name all;
  if (ads_ssget("X", nullptr, nullptr, nullptr, all) != RTNORM) return {Result::Broken, "no entities selected"};
  long length = 0;
  ads_sslength(all, &length);
  Result result;
  for (long i = 0; i < length && result.kind == Result::Accepted; ++i) {
    ads_name entity;
    std::string problem = ads_ssname(all, i, entity) == RTNORM ? facetOne(entity) : "a hole in the selection";
    if (!problem.empty()) result = {Result::Broken, problem};
  }
  ads_ssfree(all);
  releaseDrawing();
  return result;
}

}  // namespace fuzz_entry
