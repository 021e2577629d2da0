// A polyline's vertices are split in one pass over their records' texts:
// each vertex must get exactly the geometry tags of its own record, none
// also, and a record cut off after a code line must fail as it does alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/entity_view.h"

namespace {

struct Follower {
  std::string text;
  bool vertex;
};

// The view of a POLYLINE with these followers; its vertices as code=value.
bool viewOf(const std::vector<Follower>& followers, std::vector<std::vector<std::string>>& vertices) {
  std::string text = "  0\nPOLYLINE\n 70\n64\n";
  render::TextPlan plan;
  plan.type = "POLYLINE";
  plan.ownLength = static_cast<uint32_t>(text.size());
  for (const Follower& follower : followers) {
    text += follower.text;
    plan.followers.push_back({static_cast<uint32_t>(follower.text.size()), follower.vertex});
  }
  plan.length = text.size();
  render::EntityView view;
  if (!render::viewFromPlannedText(plan, text, view)) return false;
  EXPECT_EQ(view.tags.size(), 2u);
  vertices.clear();
  for (render::TagSpan vertex : view.vertices) {
    vertices.emplace_back();
    for (const auto& tag : vertex) vertices.back().push_back(std::to_string(tag.code) + "=" + std::string(tag.value));
  }
  return true;
}

TEST(PolylineView, EachVertexGetsTheGeometryTagsOfItsOwnRecord) {
  std::vector<std::vector<std::string>> vertices;
  ASSERT_TRUE(viewOf({{"  0\nVERTEX\n  8\n0\n 10\n1.5\n 20\n2.5\n 70\n32\n", true},
                      {"  0\nVERTEX\n  8\n0\n", true},  // no geometry at all
                      {"  0\nVERTEX\n  5\nAB\n100\nAcDbPolyFaceMeshVertex\n 10\n-3\n1001\nAPP\n1010\n9\n", true},
                      {"  0\nVERTEX\n 71\n1\n 72\n-2\n", true},
                      {"  0\nVERTEX\n", true},
                      {"  0\nSEQEND\n  8\n0\n", false},
                      {"  0\nVERTEX\n 10\n7\n", true}},  // after another record
                     vertices));
  std::vector<std::vector<std::string>> expected = {
      {"10=1.5", "20=2.5", "70=32"}, {}, {"10=-3"}, {"71=1", "72=-2"}, {}, {"10=7"}};
  EXPECT_EQ(vertices, expected);
}

TEST(PolylineView, ARecordCutAfterACodeLineFailsTheView) {
  std::vector<std::vector<std::string>> vertices;
  // Read on, the next record's first line would pass for the value.
  EXPECT_FALSE(viewOf({{"  0\nVERTEX\n 10\n", true}, {"1\n 20\n2\n", true}}, vertices));
  EXPECT_FALSE(viewOf({{"  0\nVERTEX\n 10\n1\n", true}, {"  0\nVERTEX\n 20\n", true}}, vertices));
  // Also the last vertex before another kind of record.
  EXPECT_FALSE(viewOf({{"  0\nVERTEX\n 10\n", true}, {"1\n", false}, {"  0\nVERTEX\n 20\n2\n", true}}, vertices));
  // Whole, the same records are read.
  EXPECT_TRUE(viewOf({{"  0\nVERTEX\n 10\n1\n", true}, {"  0\nVERTEX\n 20\n2\n", true}}, vertices));
}

}  // namespace
