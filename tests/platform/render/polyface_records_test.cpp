// A large polyface's records are read on a second thread and handed over in
// chunks: they must come in the order and with the values the whole view
// gives, build the same mesh sent in the same batches, and end the same way
// when the file no longer holds them or the builder stops early.
#include <gtest/gtest.h>
#include <unistd.h>

#include <limits>
#include <string>
#include <vector>

#include "db/database.h"
#include "db/record_tags.h"
#include "drawing_from_text.h"
#include "facet_probe.h"
#include "render/batch_emitter.h"
#include "render/entity_builders.h"
#include "render/entity_view.h"
#include "render/polyface_records.h"

namespace {

using render::EntityView;
using render::PolyfaceRecord;
using render::PolyfaceRecords;

constexpr size_t kNever = std::numeric_limits<size_t>::max();
// Small enough that the test drawings' polylines are streamed.
constexpr size_t kStreamed = 1 << 20;

// A polyline with these flags over a grid of `side` by `side` vertices,
// then (for a polyface) one face record per grid cell. The records carry
// tags the view leaves out; some faces hide edges, one is a triangle and one
// names a vertex that does not exist.
std::string gridPolyline(int side, int flags) {
  std::string text = "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n5\nA0\n8\n0\n66\n1\n70\n" + std::to_string(flags) +
                     "\n71\n" + std::to_string(side) + "\n72\n" + std::to_string(side) + "\n";
  for (int r = 0; r < side; ++r)
    for (int c = 0; c < side; ++c)
      text += "0\nVERTEX\n5\nB" + std::to_string(r * side + c) + "\n8\nSURFACE\n10\n" + std::to_string(c) + ".5\n20\n" +
              std::to_string(r) + ".25\n30\n" + std::to_string((r * 7 + c) % 11) + ".125\n70\n" +
              (flags & 64 ? "192" : "64") + "\n1001\nACAD\n1000\nnote\n";
  if (flags & 64) {
    int cell = 0;
    for (int r = 0; r + 1 < side; ++r)
      for (int c = 0; c + 1 < side; ++c, ++cell) {
        int a = r * side + c + 1, b = a + 1, d = a + side, e = d + 1;
        text += "0\nVERTEX\n8\n0\n10\n0\n20\n0\n30\n0\n70\n128\n71\n" + std::to_string(a) + "\n72\n" +
                std::to_string(cell % 5 == 0 ? -b : b) + "\n73\n" + std::to_string(cell == 7 ? 30000 : e) + "\n74\n" +
                std::to_string(cell == 11 ? 0 : d) + "\n";
      }
  }
  return text + "0\nSEQEND\n8\n0\n0\nENDSEC\n0\nEOF\n";
}

std::vector<PolyfaceRecord> recordsOf(const EntityView& view, bool& failed) {
  std::vector<PolyfaceRecord> out;
  PolyfaceRecords records(view);
  while (const PolyfaceRecord* record = records.next()) out.push_back(*record);
  failed = records.failed();
  return out;
}

// What a record is read from: the first of each code, only what its kind
// uses, 0 for what is absent; a value that is no number marks it. Its text
// gives what its tags give.
TEST(PolyfaceRecordTest, ARecordIsReadFromTheFirstValuesItsKindUses) {
  struct Case {
    std::string text;
    bool isVertex, valid;
    render::Vec3 at;
    std::vector<int64_t> numbers;
  };
  const Case cases[] = {
      {" 70\n192\n 10\n1.5\n 20\n-2\n 30\n0.25\n 10\n9\n", true, true, {1.5, -2, 0.25}, {0, 0, 0, 0}},
      {" 70\n64\n 20\n3\n 71\nx\n", true, true, {0, 3, 0}, {0, 0, 0, 0}},
      {" 70\n64\n 10\n1\n 30\nfar\n", true, false, {1, 0, 0}, {0, 0, 0, 0}},
      {" 70\n128\n 10\nnone\n 71\n1\n 72\n-2\n 74\n4\n 72\n7\n", false, true, {}, {1, -2, 0, 4}},
      {" 71\n1\n 72\n2\n 73\n3.5\n", false, false, {}, {1, 2, 0, 0}},
      {" 70\n128\n 71\n0000000012\n 72\n+3\n 73\n 7\n 74\n123456789\n", false, true, {}, {12, 3, 7, 123456789}},
      {" 70\nflag\n 10\n1\n 71\n5\n", false, false, {}, {5, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    std::vector<db::TagView> tags;
    ASSERT_TRUE(db::parseTagText(c.text, tags));
    PolyfaceRecord fromText;
    ASSERT_TRUE(render::readPolyfaceRecord(c.text, fromText)) << c.text;
    for (const PolyfaceRecord& record : {render::readPolyfaceRecord(tags), fromText}) {
      EXPECT_EQ(record.isVertex, c.isVertex) << c.text;
      EXPECT_EQ(record.valid, c.valid) << c.text;
      EXPECT_EQ(record.at, c.at) << c.text;
      EXPECT_EQ(std::vector<int64_t>(record.numbers, record.numbers + 4), c.numbers) << c.text;
    }
  }
  PolyfaceRecord record;
  EXPECT_FALSE(render::readPolyfaceRecord(" 70\n64\n 10", record));
}

class PolyfaceRecordsTest : public facet_test::DrawingFromText {
 public:
  void view(size_t streamFrom, EntityView& out) {
    auto* database = db::currentDatabase();
    render::TextPlan plan;
    ASSERT_TRUE(render::planOf(*database->entities().at(0), plan));
    ASSERT_TRUE(render::viewFromPlan(plan, *database->text(), false, out, streamFrom));
  }
};

// Over 40,000 records: the chunks go round their ring many times. A builder
// that stops early lets the second thread go while it still reads; a file
// cut short ends the records read before and fails the mesh.
TEST_F(PolyfaceRecordsTest, StreamedRecordsAreTheWholeViewsOnesUntilStoppedOrCutShort) {
  open(gridPolyline(150, 64));
  EntityView whole, streamed;
  view(kNever, whole);
  view(kStreamed, streamed);
  ASSERT_TRUE(whole.streamed.source == nullptr);
  ASSERT_TRUE(streamed.streamed.source != nullptr);
  // The whole view holds its records read to the mesh's parts: the point of
  // each vertex record, the faces kept.
  ASSERT_TRUE(whole.polyface.read);
  ASSERT_TRUE(whole.vertices.empty());
  bool streamedFailed = true;
  std::vector<PolyfaceRecord> fromStream = recordsOf(streamed, streamedFailed);
  EXPECT_FALSE(streamedFailed);
  const size_t allRecords = 150u * 150 + 149 * 149;
  ASSERT_EQ(fromStream.size(), allRecords);
  ASSERT_EQ(whole.polyface.points.size(), 150u * 150);
  for (size_t i = 0; i < whole.polyface.points.size(); ++i) ASSERT_TRUE(fromStream[i].isVertex && fromStream[i].valid);
  EXPECT_EQ(fromStream[150 * 150 + 5].numbers[1], -(5 + 2));
  EXPECT_EQ(fromStream[5].at, (render::Vec3{5.5, 0.25, 5.125}));
  const render::PolyfaceParts::Point& fifth = whole.polyface.points[5];
  EXPECT_EQ(std::vector<std::string_view>({fifth.x, fifth.y, fifth.z}),
            std::vector<std::string_view>({"5.5", "0.25", "5.125"}));
  // The face naming a missing vertex is not among the parts.
  EXPECT_EQ(whole.polyface.faces.size(), 149u * 149 - 1);

  facet_test::RecordingCallout sentWhole, sentStreamed;
  render::BatchEmitter wholeOut(&sentWhole), streamedOut(&sentStreamed);
  ASSERT_EQ(render::buildPolyline(whole, wholeOut.meshFor({})), Acad::eOk);
  ASSERT_EQ(render::buildPolyline(streamed, streamedOut.meshFor({})), Acad::eOk);
  ASSERT_EQ(wholeOut.emitBuilt(), Acad::eOk);
  ASSERT_EQ(streamedOut.emitBuilt(), Acad::eOk);
  wholeOut.finish();
  streamedOut.finish();
  // The face naming a missing vertex is left out.
  EXPECT_GE(wholeOut.polygonsSent(), 149u * 149 - 1);
  facet_test::expectSameBatches(sentStreamed, sentWhole);

  for (size_t taken : {0u, 1u, 4096u, 20000u}) {
    PolyfaceRecords records(streamed);
    for (size_t i = 0; i < taken; ++i) {
      const PolyfaceRecord* record = records.next();
      ASSERT_NE(record, nullptr);
      ASSERT_EQ(record->isVertex, i < 150u * 150);
    }
  }

  ASSERT_EQ(::truncate(path.c_str(), 3 << 20), 0);
  bool failed = false;
  size_t seen = recordsOf(streamed, failed).size();
  EXPECT_TRUE(failed);
  EXPECT_GT(seen, 0u);
  EXPECT_LT(seen, allRecords);
  render::Mesh mesh;
  EXPECT_EQ(render::buildPolyline(streamed, mesh), Acad::eInvalidInput);
}

// Vertex and face records in turn, each face over vertices read before it
// but one over a vertex still to come; faces of two corners, of a number
// with no positive, of hidden edges. `broken` puts a real where one face
// record's vertex number should be.
std::string interleavedPolyface(bool broken) {
  std::string text = "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n8\n0\n66\n1\n70\n64\n";
  auto vertex = [&](int i) {
    text += "0\nVERTEX\n8\n0\n10\n" + std::to_string(i % 97) + ".5\n20\n" + std::to_string(i / 97) +
            "\n30\n" + std::to_string(i % 7) + "\n70\n192\n";
  };
  auto face = [&](const std::string& a, const std::string& b, const std::string& c, const std::string& d) {
    text += "0\nVERTEX\n8\n0\n70\n128\n71\n" + a + "\n72\n" + b + "\n73\n" + c + "\n74\n" + d + "\n";
  };
  for (int i = 0; i < 20000; ++i) {
    vertex(2 * i);
    vertex(2 * i + 1);
    std::string v = std::to_string(2 * i + 2);
    if (i == 0) continue;
    if (i == 9) face("1", v, std::to_string(2 * i + 3), "0");
    else if (i == 11) face("1", v, "0", "0");
    else if (i == 12) face("-9223372036854775808", "1", v, "0");
    else if (i == 13 && broken) face("1", "2", "3.5", "3");
    else face(std::to_string(2 * i - 1), i % 3 ? "-" + std::to_string(2 * i) : std::to_string(2 * i), v,
              std::to_string(2 * i + 1));
  }
  return text + "0\nSEQEND\n8\n0\n0\nENDSEC\n0\nEOF\n";
}

// The parts build the mesh the records build, handed on in the same batches;
// a record they cannot read leaves the vertices' tags to show the fault.
TEST_F(PolyfaceRecordsTest, PartsBuildWhatTheRecordsBuild) {
  for (bool broken : {false, true}) {
    open(interleavedPolyface(broken));
    EntityView whole, streamed;
    view(kNever, whole);
    view(kStreamed, streamed);
    ASSERT_TRUE(streamed.streamed.source != nullptr);
    EXPECT_EQ(whole.polyface.read, !broken);
    // All faces but three: one over a vertex still to come, one of two
    // corners, one of a number with no positive.
    EXPECT_EQ(whole.polyface.faces.size(), broken ? 0u : 19999u - 3);
    EXPECT_EQ(whole.vertices.size(), broken ? 40000u + 19999u : 0u);
    facet_test::RecordingCallout sentWhole, sentStreamed;
    render::BatchEmitter wholeOut(&sentWhole), streamedOut(&sentStreamed);
    Acad::ErrorStatus status = render::buildPolyline(whole, wholeOut.meshFor({}));
    EXPECT_EQ(status, broken ? Acad::eInvalidInput : Acad::eOk);
    EXPECT_EQ(render::buildPolyline(streamed, streamedOut.meshFor({})), status);
    if (broken) continue;
    ASSERT_EQ(wholeOut.emitBuilt(), Acad::eOk);
    ASSERT_EQ(streamedOut.emitBuilt(), Acad::eOk);
    wholeOut.finish();
    streamedOut.finish();
    facet_test::expectSameBatches(sentStreamed, sentWhole);
  }
}

// Parts read ahead keep a point's coordinates as written, for the builder
// to read: one absent is 0, one that is no number refuses the mesh.
TEST(PolyfaceParts, TheBuilderReadsThePointsCoordinates) {
  const std::vector<db::TagView> own = {{0, "POLYLINE"}, {70, "64"}};
  for (bool broken : {false, true}) {
    EntityView view("POLYLINE", own);
    view.polyface.points = {{"1.5", {}, "-2"}, {"0", "1e1", broken ? "x" : "0"}, {"1", "1", "0"}};
    view.polyface.faces = {{{0, 1, 2, 0}, 3}};
    view.polyface.read = true;
    render::Mesh mesh;
    ASSERT_EQ(render::buildPolyline(view, mesh), broken ? Acad::eInvalidInput : Acad::eOk);
    if (broken) continue;
    EXPECT_EQ(mesh.vertices(), (std::vector<render::Vec3>{{1.5, 0, -2}, {0, 10, 0}, {1, 1, 0}}));
    EXPECT_EQ(mesh.polygons().size(), 1u);
  }
}

}  // namespace
