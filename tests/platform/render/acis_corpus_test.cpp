// Every solid-modeller entity of the corpus drawings, through the facetter
// as an export runs it: every face cut, closed bodies closed after the
// writer's rounding and turned outward, all-planar bodies of the volume their
// own faces give, and nothing reported lost.
#include <gmock/gmock.h>
#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <numbers>
#include <set>

#include "acad/console.h"
#include "acis/payload.h"
#include "acis_solid_probe.h"
#include "db/database.h"
#include "db/modeler_data.h"
#include "db/record_tags.h"
#include "drawing_file.h"
#include "facet_probe.h"
#include "render/entity_builders.h"
#include "render/facet_records.h"
#include "support/corpus.h"
#include "support/status_matchers.h"

using namespace facet_test;

namespace {

std::string rounded(const Vec3& p) {
  char text[96];
  std::snprintf(text, sizeof text, "%.6f %.6f %.6f", p.x, p.y, p.z);
  return text;
}

// Edges between rounded corners not met exactly once each way.
int unpairedEdges(const RecordingCallout& callout) {
  std::map<std::pair<std::string, std::string>, int> directed;
  for (const auto& polygon : callout.polygons())
    for (size_t i = 0; i < polygon.size(); ++i)
      ++directed[{rounded(polygon[i]), rounded(polygon[(i + 1) % polygon.size()])}];
  int unpaired = 0;
  for (const auto& [edge, count] : directed) {
    auto back = directed.find({edge.second, edge.first});
    if (count != 1 || back == directed.end() || back->second != 1) ++unpaired;
  }
  return unpaired;
}

double volume(const RecordingCallout& callout) {
  double sum = 0;
  for (const auto& p : callout.polygons())
    for (size_t i = 1; i + 1 < p.size(); ++i) sum += p[0].dot(p[i].cross(p[i + 1])) / 6;
  return sum;
}

// The volume of an all-planar body from its faces alone: a third of the sum
// over faces of a point of the plane dotted with the face's area vector,
// which the loops give exactly (Newell) whatever way they are triangulated.
double planarVolume(const acis::Body& body) {
  double sum = 0;
  for (const acis::Face& face : body.faces) {
    for (const acis::Loop& loop : face.loops) {
      std::vector<Vec3> corners;
      for (const acis::Coedge& coedge : loop.coedges) {
        const acis::Edge& edge = body.edges[coedge.edge];
        corners.push_back(body.transform.apply(body.vertices[coedge.reversed ? edge.end : edge.start].point));
      }
      Vec3 area;
      for (size_t i = 0; i < corners.size(); ++i) area = area + corners[i].cross(corners[(i + 1) % corners.size()]);
      sum += corners[0].dot(area) / 6;
    }
  }
  return body.transform.reflect ? -sum : sum;
}

bool allPlanar(const acis::Body& body) {
  for (const acis::Face& face : body.faces)
    if (body.surfaces[face.surface].kind != acis::SurfaceKind::Plane) return false;
  for (const acis::Edge& edge : body.edges)
    if (edge.curve < 0 || body.curves[edge.curve].kind != acis::CurveKind::Straight) return false;
  return true;
}

// A whole sphere or torus, placed by its transform, against its exact
// volume and area.
void expectExactWithinRule(const acis::Body& body, const RecordingCallout& callout) {
  const acis::Surface& s = body.surfaces[body.faces[0].surface];
  double scale = body.transform.scale, pi = std::numbers::pi;
  double v = std::fabs(volume(callout)), a = callout.area();
  if (s.kind == acis::SurfaceKind::Sphere) {
    double r = std::fabs(s.radius) * scale;
    acis_test::expectInBall(v, 4 * pi * r * r * r / 3);
    acis_test::expectInBall(a, 4 * pi * r * r, 2);
    std::printf(", sphere exact volume %.6f area %.6f, got area %.6f", 4 * pi * r * r * r / 3, 4 * pi * r * r, a);
  } else if (s.kind == acis::SurfaceKind::Torus) {
    double major = s.majorRadius * scale, minor = std::fabs(s.minorRadius) * scale;
    acis_test::expectWithinRule(v, 2 * pi * pi * major * minor * minor, 2);
    acis_test::expectWithinRule(a, 4 * pi * pi * major * minor, 2);
    std::printf(", torus exact volume %.6f area %.6f, got area %.6f", 2 * pi * pi * major * minor * minor,
                4 * pi * pi * major * minor, a);
  }
}

}  // namespace

TEST(AcisFacetCorpus, EverySolidFacetsWholeClosedAndOutward) {
  SKIP_WITHOUT_CORPUS();
  std::vector<std::filesystem::path> files = test_support::corpusDrawings();
  setenv("ARXHOST_FACET_NOTES", "1", 1);
  acad::console::beginCapture();
  size_t entities = 0, faceted = 0, empty = 0, faces = 0, solids = 0, planarSolids = 0;
  for (const auto& file : files) {
    ASSERT_THAT(dxf::open(file.string()), test_support::Succeeds());
    const db::Database& database = *db::currentDatabase();
    double drawingMs = 0;
    // Blocks too: some solids are only drawn through inserts.
    for (const db::Record* record : database.records()) {
      if (!record->entity || record->erased || !render::isModelerType(record->type.name())) continue;
      ++entities;
      std::string what = file.filename().string() + " " + record->type.str();
      db::RecordTags tags(*record);
      acis::Payload payload;
      ASSERT_TRUE(db::modelerPayloadOf(tags.all(), database, payload)) << what;
      acis::ParseResult read = acis::parsePayload(payload);
      ASSERT_TRUE(read.ok) << what;
      RecordingCallout callout;
      const db::Record* one[] = {record};
      auto start = std::chrono::steady_clock::now();
      Acad::ErrorStatus status = render::facetRecords(one, &callout, nullptr);
      drawingMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      if (read.body.faces.empty()) {
        EXPECT_EQ(status, Acad::eDegenerateGeometry) << what;
        ++empty;
        continue;
      }
      ASSERT_EQ(status, Acad::eOk) << what;
      ++faceted;
      faces += read.body.faces.size();
      double v = volume(callout);
      int unpaired = unpairedEdges(callout);
      std::printf("%s %" PRIX64 ": %zu faces, %zu polygons, %s, volume %.6f", what.c_str(), record->handle,
                  read.body.faces.size(), callout.polygonCount(), read.body.isSolid ? "solid" : "sheet", v);
      if (read.body.isSolid) {
        ++solids;
        EXPECT_EQ(unpaired, 0) << what;
        EXPECT_GT(v, 0) << what;
        std::printf(", %d unpaired edges", unpaired);
        if (allPlanar(read.body)) {
          ++planarSolids;
          double exact = planarVolume(read.body);
          EXPECT_NEAR(v, exact, 1e-6 * std::max(1.0, std::fabs(exact))) << what;
          std::printf(", exact %.6f", exact);
        }
      }
      if (read.body.faces.size() == 1 && read.body.faces[0].loops.empty()) expectExactWithinRule(read.body, callout);
      std::printf("\n");
    }
    if (drawingMs > 0) std::printf("%s: %.2f ms\n", file.filename().string().c_str(), drawingMs);
  }
  std::string notes = acad::console::endCapture();
  unsetenv("ARXHOST_FACET_NOTES");
  EXPECT_THAT(notes, testing::Not(testing::HasSubstr("lost")));
  EXPECT_EQ(entities, 41u);
  EXPECT_EQ(empty, 1u);
  EXPECT_EQ(faceted, 40u);
  EXPECT_EQ(faces, 403u);
  std::printf("%zu entities, %zu faceted, %zu faces, %zu solids (%zu all planar)\n", entities, faceted, faces, solids,
              planarSolids);
}
