// A polyline too large to parse whole is walked from the drawing file a
// piece at a time: the walk must hand out exactly the vertices the whole
// view holds, the builders must make the same mesh from either, and a file
// that no longer holds the vertices must fail the entity.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "db/database.h"
#include "drawing_from_text.h"
#include "facet_probe.h"
#include "render/entity_builders.h"
#include "render/entity_view.h"
#include "render/mesh.h"

namespace {

using render::EntityView;

// A polygon mesh of `rows` rows of 101 vertices (with these flags; vertex
// `frame` marked as a spline frame point), whose vertices carry tags the
// view leaves out (handle, layer, extended data), then a closed 2D polyline
// with widths, bulges and a spline frame point.
std::string meshAndOutline(int rows, int flags = 16, int frame = -1) {
  std::string text = "0\nSECTION\n2\nENTITIES\n";
  text += "0\nPOLYLINE\n5\nA0\n8\n0\n66\n1\n70\n" + std::to_string(flags) + "\n71\n" + std::to_string(rows) +
          "\n72\n101\n";
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < 101; ++c)
      text += "0\nVERTEX\n5\nB" + std::to_string(r * 101 + c) + "\n8\nSURFACE\n10\n" + std::to_string(c) + ".5\n20\n" +
              std::to_string(r) + ".25\n30\n" + std::to_string((r * 7 + c) % 11) + ".125\n70\n" +
              (r * 101 + c == frame ? "80" : "64") + "\n1001\nACAD\n1000\nnote\n";
  text += "0\nSEQEND\n8\n0\n";
  text += "0\nPOLYLINE\n8\n0\n66\n1\n70\n1\n40\n0.5\n41\n0.25\n";
  for (int i = 0; i < 4; ++i)
    text += "0\nVERTEX\n8\n0\n10\n" + std::to_string(i % 2) + "\n20\n" + std::to_string(i / 2) + "\n42\n0.25\n" +
            (i == 2 ? "40\n1.5\n" : "") + "70\n0\n";
  text += "0\nVERTEX\n8\n0\n10\n-1\n20\n-1\n70\n16\n";
  text += "0\nSEQEND\n8\n0\n";
  return text + "0\nENDSEC\n0\nEOF\n";
}

using Flat = std::vector<std::string>;

Flat flatVertices(const EntityView& view) {
  Flat out;
  render::VertexWalk walk(view);
  for (render::TagSpan vertex; walk.next(vertex);) {
    out.push_back("|");
    for (const auto& tag : vertex) out.push_back(std::to_string(tag.code) + "=" + std::string(tag.value));
  }
  EXPECT_FALSE(walk.failed());
  return out;
}

struct Both {
  EntityView whole, streamed;
};

class StreamedVerticesTest : public facet_test::DrawingFromText {
 public:
  // The entity's view parsed whole, and with its vertices streamed.
  void view(size_t entity, Both& both) {
    auto* database = db::currentDatabase();
    const db::Record& record = *database->entities().at(entity);
    render::TextPlan plan;
    ASSERT_TRUE(render::planOf(record, plan));
    ASSERT_TRUE(render::viewFromPlan(plan, *database->text(), false, both.whole));
    ASSERT_TRUE(render::viewFromPlan(plan, *database->text(), false, both.streamed, 0));
    ASSERT_TRUE(both.whole.streamed.source == nullptr);
    ASSERT_TRUE(both.streamed.streamed.source != nullptr);
    EXPECT_TRUE(both.streamed.vertices.empty());
  }
};

TEST_F(StreamedVerticesTest, TheWalkAndTheBuildersSeeWhatTheWholeViewHolds) {
  // Over a megabyte of vertices: the walk reads several pieces.
  open(meshAndOutline(200));
  for (size_t entity : {0u, 1u}) {
    Both both;
    view(entity, both);
    Flat whole = flatVertices(both.whole);
    EXPECT_EQ(flatVertices(both.streamed), whole);
    EXPECT_EQ(std::count(whole.begin(), whole.end(), "|"), entity == 0 ? 200 * 101 : 5);
    render::Mesh fromWhole, fromStream;
    ASSERT_EQ(render::buildPolyline(both.whole, fromWhole), Acad::eOk);
    ASSERT_EQ(render::buildPolyline(both.streamed, fromStream), Acad::eOk);
    ASSERT_FALSE(fromWhole.empty());
    ASSERT_EQ(fromStream.vertices().size(), fromWhole.vertices().size());
    for (size_t i = 0; i < fromWhole.vertices().size(); ++i) {
      EXPECT_EQ(fromStream.vertices()[i].x, fromWhole.vertices()[i].x);
      EXPECT_EQ(fromStream.vertices()[i].y, fromWhole.vertices()[i].y);
      EXPECT_EQ(fromStream.vertices()[i].z, fromWhole.vertices()[i].z);
    }
    ASSERT_EQ(fromStream.polygons().size(), fromWhole.polygons().size());
    for (size_t i = 0; i < fromWhole.polygons().size(); ++i)
      for (int k = 0; k < 4; ++k) EXPECT_EQ(fromStream.polygons()[i].corner[k], fromWhole.polygons()[i].corner[k]);
  }
}

TEST_F(StreamedVerticesTest, AFileCutShortFailsTheWalkAndTheEntity) {
  open(meshAndOutline(200));
  Both both;
  view(0, both);
  // The end of the vertices is gone from the file since it was read.
  ASSERT_EQ(::truncate(path.c_str(), 5 << 18), 0);
  render::VertexWalk walk(both.streamed);
  size_t seen = 0;
  for (render::TagSpan vertex; walk.next(vertex);) ++seen;
  EXPECT_TRUE(walk.failed());
  EXPECT_GT(seen, 0u);
  EXPECT_LT(seen, 200u * 101);
  render::Mesh mesh;
  EXPECT_EQ(render::buildPolyline(both.streamed, mesh), Acad::eInvalidInput);
}

// Built in the emitter's mesh, a grid goes on while it is built, a streamed
// one holding two rows, in the batches of the whole mesh sent at once; also
// closed in N. A frame point has no place in a streamed grid: it is refused.
TEST_F(StreamedVerticesTest, AGridBuiltInTheEmittersMeshGoesOnInTheBatchesOfTheWholeMesh) {
  for (int flags : {16, 16 | 32}) {
    open(meshAndOutline(200, flags));
    Both both;
    view(0, both);
    render::Mesh whole;
    ASSERT_EQ(render::buildPolyline(both.whole, whole), Acad::eOk);
    facet_test::RecordingCallout sentWhole, builtInPlace, streamed;
    render::BatchEmitter wholeOut(&sentWhole), inPlaceOut(&builtInPlace), streamedOut(&streamed);
    ASSERT_EQ(wholeOut.emit(whole, {}), Acad::eOk);
    ASSERT_EQ(render::buildPolyline(both.whole, inPlaceOut.meshFor({})), Acad::eOk);
    ASSERT_EQ(inPlaceOut.emitBuilt(), Acad::eOk);
    render::Mesh& mesh = streamedOut.meshFor({});
    ASSERT_EQ(render::buildPolyline(both.streamed, mesh), Acad::eOk);
    EXPECT_LE(mesh.vertices().size(), 2u * 101);
    ASSERT_EQ(streamedOut.emitBuilt(), Acad::eOk);
    for (render::BatchEmitter* out : {&wholeOut, &inPlaceOut, &streamedOut}) out->finish();
    EXPECT_GE(wholeOut.polygonsSent(), (flags & 32 ? 101u : 100u) * 199);
    facet_test::expectSameBatches(builtInPlace, sentWhole);
    facet_test::expectSameBatches(streamed, sentWhole);
  }
  open(meshAndOutline(200, 16, 150 * 101));
  Both both;
  view(0, both);
  render::BatchEmitter out(nullptr);
  EXPECT_EQ(render::buildPolyline(both.streamed, out.meshFor({})), Acad::eInvalidInput);
}

}  // namespace
