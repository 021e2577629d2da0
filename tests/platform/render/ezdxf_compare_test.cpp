// The facetter against an independent computation: drawings written by
// ezdxf, whose own transforms and vertices give each entity's area and box.
// Flat entities match within 1e-9 relative. A curved one is cut into 72
// chords a turn: its area lies between sin(s)/s (s = 2 pi / 72) of the exact
// one and the exact one, and each side of its box within r (1 - cos(s/2)).
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>
#include <string>

#include "db/database.h"
#include "drawing_file.h"
#include "facet_probe.h"
#include "render/facet_records.h"
#include "support/process.h"
#include "support/scratch_dir.h"
#include "support/status_matchers.h"

using namespace facet_test;

namespace {

struct Reference {
  std::string kind;
  double area = 0;
  double box[6] = {};
  double radius = 0;
};

std::map<std::string, Reference> readReferences(const std::string& path) {
  std::map<std::string, Reference> out;
  std::ifstream in(path);
  std::string handle;
  Reference r;
  while (in >> handle >> r.kind >> r.area >> r.box[0] >> r.box[1] >> r.box[2] >> r.box[3] >> r.box[4] >> r.box[5] >>
         r.radius)
    out[handle] = r;
  return out;
}

std::string hex(uint64_t handle) {
  char text[32];
  std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(handle));
  return text;
}

}  // namespace

TEST(FacetAgainstEzdxf, AreaAndBoxMatchEzdxfGeometry) {
  test_support::ScratchDir scratch;
  ASSERT_FALSE(scratch.path().empty());
  std::string dxf = scratch.file("drawing.dxf"), expected = scratch.file("expected.txt");
  std::string command = "/usr/bin/python3 " VRML_SOURCE_DIR "/tests/platform/render/ezdxf_reference.py " + dxf + " " +
                        expected + " 2>&1";
  test_support::ProcessResult reference = test_support::runCommand(command);
  ASSERT_EQ(reference.status, 0) << command << "\n" << reference.output;
  std::map<std::string, Reference> references = readReferences(expected);
  ASSERT_EQ(references.size(), 8u);

  ASSERT_THAT(dxf::open(dxf), test_support::Succeeds());
  const double step = 2 * std::numbers::pi / 72;
  size_t compared = 0;
  for (const db::Record* record : db::currentDatabase()->entities()) {
    auto found = references.find(hex(record->handle));
    if (found == references.end()) continue;
    const Reference& ref = found->second;
    SCOPED_TRACE(record->type.str() + " " + found->first);
    RecordingCallout callout;
    const db::Record* one[] = {record};
    ASSERT_EQ(render::facetRecords(one, &callout, nullptr), Acad::eOk);
    Box box = callout.box();
    double got[6] = {box.low.x, box.low.y, box.low.z, box.high.x, box.high.y, box.high.z};
    double size = 0;
    for (int i = 0; i < 3; ++i) size = std::fmax(size, ref.box[i + 3] - ref.box[i]);
    if (ref.kind == "planar") {
      EXPECT_NEAR(callout.area(), ref.area, 1e-9 * ref.area);
      for (int i = 0; i < 6; ++i) EXPECT_NEAR(got[i], ref.box[i], 1e-9 * size) << "box side " << i;
    } else {
      EXPECT_LE(callout.area(), ref.area * (1 + 1e-12));
      EXPECT_GE(callout.area(), ref.area * std::sin(step) / step);
      double shrink = ref.radius * (1 - std::cos(step / 2)) + 1e-9 * size;
      for (int i = 0; i < 3; ++i) {
        EXPECT_GE(got[i], ref.box[i] - 1e-9 * size) << "box side " << i;
        EXPECT_LE(got[i], ref.box[i] + shrink) << "box side " << i;
        EXPECT_LE(got[i + 3], ref.box[i + 3] + 1e-9 * size) << "box side " << i + 3;
        EXPECT_GE(got[i + 3], ref.box[i + 3] - shrink) << "box side " << i + 3;
      }
    }
    ++compared;
  }
  EXPECT_EQ(compared, references.size());
}
