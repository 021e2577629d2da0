// Every value of sound entities replaced, one at a time, by text that is no
// number, by extremes and by absurd counts: the facetter answers with a
// status and whatever it delivers stays finite.
#include "facet_probe.h"

// Tag tables stay one entity a line: the formatter would give every tag a line of its own.
// clang-format off

using namespace facet_test;

namespace {

struct Sample {
  std::string type;
  Tags tags;
  std::vector<Tags> vertices;
};

std::vector<Sample> samples() {
  std::vector<Sample> out;
  out.push_back({"3DFACE", tags({{10, "0"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "0"}, {31, "0"}, {12, "1"},
                                 {22, "1"}, {32, "0"}, {13, "0"}, {23, "1"}, {33, "0"}}), {}});
  out.push_back({"SOLID", tags({{10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}, {12, "0"}, {22, "1"}, {13, "1"},
                                {23, "1"}, {39, "2"}, {210, "0"}, {220, "0.3"}, {230, "1"}}), {}});
  out.push_back({"CIRCLE", tags({{10, "1"}, {20, "2"}, {30, "3"}, {40, "2"}, {39, "4"}, {210, "1"}, {220, "1"},
                                 {230, "1"}}), {}});
  out.push_back({"ARC", tags({{10, "1"}, {20, "2"}, {30, "3"}, {40, "2"}, {39, "4"}, {50, "10"}, {51, "200"}}), {}});
  out.push_back({"LINE", tags({{10, "0"}, {20, "0"}, {30, "0"}, {11, "5"}, {21, "1"}, {31, "0"}, {39, "1"},
                               {210, "0"}, {220, "1"}, {230, "1"}}), {}});
  out.push_back({"LWPOLYLINE", tags({{90, "3"}, {70, "1"}, {38, "2"}, {39, "1"}, {10, "0"}, {20, "0"}, {42, "0.5"},
                                     {10, "4"}, {20, "0"}, {10, "4"}, {20, "3"}, {42, "-2"}}), {}});
  out.push_back({"MESH", tags({{100, "AcDbSubDMesh"}, {92, "3"}, {10, "0"}, {20, "0"}, {30, "0"}, {10, "1"},
                               {20, "0"}, {30, "0"}, {10, "0"}, {20, "1"}, {30, "0"}, {93, "4"}, {90, "3"},
                               {90, "0"}, {90, "1"}, {90, "2"}}), {}});
  auto vertex = [](const char* x, const char* y, const char* flags, const char* a = "0", const char* b = "0",
                   const char* c = "0") {
    return tags({{10, x}, {20, y}, {30, "1"}, {70, flags}, {71, a}, {72, b}, {73, c}, {42, "0.3"}});
  };
  out.push_back({"POLYLINE", tags({{70, "64"}, {71, "3"}, {72, "1"}}),
                 {vertex("0", "0", "192"), vertex("1", "0", "192"), vertex("0", "1", "192"),
                  vertex("0", "0", "128", "1", "-2", "3")}});
  out.push_back({"POLYLINE", tags({{70, "17"}, {71, "2"}, {72, "2"}}),
                 {vertex("0", "0", "64"), vertex("1", "0", "64"), vertex("0", "1", "64"), vertex("1", "1", "64")}});
  out.push_back({"POLYLINE", tags({{30, "1"}, {39, "2"}, {70, "1"}, {210, "0"}, {220, "0"}, {230, "-1"}}),
                 {vertex("0", "0", "0"), vertex("1", "0", "0"), vertex("0", "1", "0")}});
  out.push_back({"INSERT", tags({{2, "B"}, {10, "1"}, {20, "2"}, {30, "3"}, {41, "2"}, {42, "3"}, {43, "1"},
                                 {50, "30"}, {70, "2"}, {71, "2"}, {44, "5"}, {45, "5"}, {210, "0"}, {220, "1"},
                                 {230, "1"}}), {}});
  return out;
}

const char* const kBadValues[] = {"", "x", "nan", "inf", "1e999", "-1e308", "1e308", "1e-320", "0",
                                  "-1", "99999999999", "-99999999999", "2147483648", " 7 ", "1.5.2"};

void expectFiniteDelivery(const Sample& sample, const Blocks& blocks, const std::string& what) {
  render::EntityView view{sample.type, sample.tags, {}};
  for (const Tags& v : sample.vertices) view.vertices.push_back(v);
  Faceted result = facet(view, &blocks);
  for (const auto& batch : result.callout.batches) {
    for (const Vec3& v : batch.vertices) ASSERT_TRUE(v.isFinite()) << what;
    for (const auto& polygon : batch.polygons) {
      ASSERT_TRUE(polygon.size() == 3 || polygon.size() == 4) << what;
      for (int32_t corner : polygon) ASSERT_TRUE(corner >= 0 && corner < batch.vertexCount) << what;
    }
  }
  if (result.status != Acad::eOk) {
    EXPECT_EQ(result.callout.batches.size(), 0u) << what;  // small entities: nothing leaves before the end
  }
}

}  // namespace

TEST(FacetMalformed, EveryValueSpoiledInTurnGivesAStatusAndFiniteNumbers) {
  Blocks blocks;
  blocks.blocks.push_back({"B", {{1, 1, 0}, {{"3DFACE", samples()[0].tags}, {"CIRCLE", samples()[2].tags}}}});
  int cases = 0;
  for (const Sample& sound : samples()) {
    {
      SCOPED_TRACE(sound.type);
      expectFiniteDelivery(sound, blocks, sound.type + " as made");
    }
    for (size_t i = 0; i < sound.tags.size(); ++i)
      for (const char* bad : kBadValues) {
        Sample spoiled = sound;
        spoiled.tags[i].value = bad;
        expectFiniteDelivery(spoiled, blocks, sound.type + " tag " + std::to_string(spoiled.tags[i].code) + "=" + bad);
        ++cases;
      }
    for (size_t v = 0; v < sound.vertices.size(); ++v)
      for (size_t i = 0; i < sound.vertices[v].size(); ++i)
        for (const char* bad : kBadValues) {
          Sample spoiled = sound;
          spoiled.vertices[v][i].value = bad;
          expectFiniteDelivery(spoiled, blocks, sound.type + " vertex tag " + std::to_string(spoiled.vertices[v][i].code) + "=" + bad);
          ++cases;
        }
  }
  EXPECT_GT(cases, 1000);
}
// clang-format on
