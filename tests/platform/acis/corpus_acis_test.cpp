// Every ACIS entity of the corpus drawings: its payload found (in its own
// groups or the drawing's data section), read with every face supported,
// and its planar faces in the conventions the modeller keeps.
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "acis_test_support.h"
#include "db/database.h"
#include "db/modeler_data.h"
#include "db/record_tags.h"
#include "drawing_file.h"
#include "support/corpus.h"
#include "support/status_matchers.h"

namespace {

const std::set<std::string> kAcisTypes = {"3DSOLID",      "REGION",          "BODY",          "SURFACE",
                                          "PLANESURFACE", "EXTRUDEDSURFACE", "LOFTEDSURFACE", "REVOLVEDSURFACE",
                                          "SWEPTSURFACE", "NURBSURFACE"};

struct Totals {
  size_t entities = 0, faces = 0, emptyBodies = 0;
  std::map<acis::SurfaceKind, size_t> surfaces;
  std::map<acis::CurveKind, size_t> curves;
  std::set<int32_t> versions;
};

void readDrawing(const std::filesystem::path& file, Totals& totals) {
  ASSERT_THAT(dxf::open(file.string()), test_support::Succeeds());
  const db::Database& database = *db::currentDatabase();
  for (const db::Record* record : database.records()) {
    if (!record->entity || !kAcisTypes.count(record->type.str())) continue;
    const std::string what = file.filename().string() + " " + record->type.str();
    ++totals.entities;
    db::RecordTags tags(*record);
    acis::Payload payload;
    ASSERT_TRUE(modelerPayloadOf(tags.all(), database, payload)) << what;
    acis::ParseResult read = acis::parsePayload(payload);
    ASSERT_TRUE(read.ok) << what << ": " << read.error;
    totals.versions.insert(read.version);
    if (read.body.faces.empty()) ++totals.emptyBodies;
    for (const acis::Face& face : read.body.faces) {
      EXPECT_TRUE(face.supported) << what << ": " << face.reason;
      if (!face.supported) continue;
      ++totals.faces;
      ++totals.surfaces[read.body.surfaces[static_cast<size_t>(face.surface)].kind];
    }
    for (const acis::Edge& edge : read.body.edges)
      ++totals.curves[edge.curve < 0 ? acis::CurveKind::None : read.body.curves[static_cast<size_t>(edge.curve)].kind];
    acis_test::expectPlanarConventions(read.body, what);
    // The scale is part of the placement: this body is drawn in metres.
    if (file.filename() == "netdxf__sampleOneSolid3D.dxf" && record->type == "3DSOLID") {
      EXPECT_EQ(read.body.transform.scale, 1000);
    }
  }
}

}  // namespace

TEST(AcisCorpus, EveryEntityReadsWithEveryFace) {
  SKIP_WITHOUT_CORPUS();
  Totals totals;
  for (const auto& file : test_support::corpusDrawings()) readDrawing(file, totals);

  // As counted in the corpus by hand: 22 3DSOLID, 12 REGION, 1 BODY (empty)
  // and 6 of the SURFACE family, with these faces and edges.
  EXPECT_EQ(totals.entities, 41u);
  EXPECT_EQ(totals.emptyBodies, 1u);
  EXPECT_EQ(totals.faces, 403u);
  EXPECT_EQ(totals.surfaces[acis::SurfaceKind::Plane], 307u);
  EXPECT_EQ(totals.surfaces[acis::SurfaceKind::Cone], 84u);
  EXPECT_EQ(totals.surfaces[acis::SurfaceKind::Sphere], 2u);
  EXPECT_EQ(totals.surfaces[acis::SurfaceKind::Torus], 6u);
  EXPECT_EQ(totals.surfaces[acis::SurfaceKind::Spline], 4u);
  EXPECT_EQ(totals.curves[acis::CurveKind::None], 1u);
  EXPECT_EQ(totals.curves[acis::CurveKind::Straight], 914u);
  EXPECT_EQ(totals.curves[acis::CurveKind::Ellipse], 183u);
  EXPECT_EQ(totals.versions, (std::set<int32_t>{106, 400, 700, 20800, 21200, 21500, 21800, 22300}));
}
