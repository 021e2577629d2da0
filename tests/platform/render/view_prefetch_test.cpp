// An entity read ahead on the second thread is used only when it is still
// what the record holds: the same view as reading it then, never a view of
// a record since edited or of a drawing since replaced.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/database.h"
#include "drawing_file.h"
#include "render/entity_builders.h"
#include "render/entity_view.h"
#include "render/view_prefetch.h"
#include "support/files.h"
#include "support/scratch_dir.h"
#include "support/status_matchers.h"

namespace {

using render::EntityView;

// Two polyface meshes big enough to be read ahead; every vertex x is `x`.
std::string twoMeshes(const std::string& x) {
  std::string text = "0\nSECTION\n2\nENTITIES\n";
  for (int mesh = 0; mesh < 2; ++mesh) {
    text += "0\nPOLYLINE\n8\n0\n66\n1\n70\n64\n71\n12000\n72\n4000\n";
    for (int i = 0; i < 12000; ++i)
      text += "0\nVERTEX\n8\n0\n10\n" + x + "\n20\n" + std::to_string(i) + ".25\n30\n0.5\n70\n192\n";
    for (int i = 0; i < 4000; ++i)
      text += "0\nVERTEX\n8\n0\n10\n0\n20\n0\n30\n0\n70\n128\n71\n" + std::to_string(3 * i + 1) + "\n72\n" +
              std::to_string(3 * i + 2) + "\n73\n" + std::to_string(3 * i + 3) + "\n";
    text += "0\nSEQEND\n8\n0\n";
  }
  return text + "0\nENDSEC\n0\nEOF\n";
}

std::vector<std::string> flat(const EntityView& view) {
  std::vector<std::string> out{std::string(view.type)};
  for (const auto& tag : view.tags) out.push_back(std::to_string(tag.code) + "=" + std::string(tag.value));
  for (const auto& vertex : view.vertices) {
    out.push_back("|");
    for (const auto& tag : vertex) out.push_back(std::to_string(tag.code) + "=" + std::string(tag.value));
  }
  for (const auto& p : view.polyface.points)
    out.push_back("point=" + std::string(p.x) + "," + std::string(p.y) + "," + std::string(p.z));
  for (const auto& f : view.polyface.faces) {
    out.push_back("face");
    for (int i = 0; i < f.count; ++i) out.back() += " " + std::to_string(f.corner[i]);
  }
  return out;
}

std::vector<std::string> readNow(const db::Record& record) {
  EntityView view;
  EXPECT_TRUE(render::viewOf(record, view));
  return flat(view);
}

class ViewPrefetchTest : public ::testing::Test {
 public:
  const db::Record& open(const std::string& name, const std::string& text, int entity) {
    std::string path = scratch.file(name), error;
    test_support::writeFile(path, text);
    EXPECT_THAT(dxf::open(path), test_support::Succeeds());
    return *db::currentDatabase()->entities().at(static_cast<size_t>(entity));
  }
  test_support::ScratchDir scratch;
  render::ViewPrefetch prefetch;
};

TEST_F(ViewPrefetchTest, TheNextMeshReadAheadIsTheViewReadThen) {
  const db::Record& first = open("a.dxf", twoMeshes("1.5"), 0);
  const db::Record& second = *db::currentDatabase()->entities().at(1);
  const EntityView* view = prefetch.viewOf(first);
  ASSERT_TRUE(view);
  EXPECT_EQ(flat(*view), readNow(first));
  prefetch.readNextAhead(first);
  ASSERT_TRUE(view = prefetch.viewOf(second));
  std::vector<std::string> expected = readNow(second);
  EXPECT_EQ(flat(*view), expected);
  EXPECT_EQ(view->polyface.points.size(), 12000u);
  EXPECT_EQ(view->polyface.faces.size(), 4000u);
  // The last entity has no next one to read.
  prefetch.readNextAhead(second);
  ASSERT_TRUE(view = prefetch.viewOf(second));
  EXPECT_EQ(flat(*view), expected);
}

// Reads the second mesh ahead, then edits `code` of the record `offset`
// places after it (0: the mesh itself, more: one of its vertices) to `value`;
// the view asked for then must show the edit.
void expectEditSeen(ViewPrefetchTest& test, uint32_t offset, int code, const std::string& value) {
  const db::Record& first = test.open("edit" + std::to_string(offset) + ".dxf", twoMeshes("1.5"), 0);
  auto* database = db::currentDatabase();
  const db::Record& second = *database->entities().at(1);
  test.prefetch.readNextAhead(first);
  db::Record& edited = *database->bySerial(second.serial + offset);
  ASSERT_TRUE(database->edit(edited));
  for (auto& tag : edited.stored->tags)
    if (tag.code == code) tag.value = value;
  const EntityView* view = test.prefetch.viewOf(second);
  ASSERT_TRUE(view);
  std::vector<std::string> seen = flat(*view);
  EXPECT_EQ(seen, readNow(second));
  EXPECT_NE(std::find(seen.begin(), seen.end(), std::to_string(code) + "=" + value), seen.end());
}

TEST_F(ViewPrefetchTest, AnEditAfterReadingAheadIsSeen) {
  expectEditSeen(*this, 0, 70, "65");
  // A vertex edited: the mesh's own record is untouched.
  expectEditSeen(*this, 7, 10, "9.75");
}

TEST_F(ViewPrefetchTest, AnotherDrawingWithTheSameLayoutIsReadAnew) {
  const db::Record& first = open("a.dxf", twoMeshes("1.5"), 0);
  prefetch.readNextAhead(first);
  const db::Record& second = open("b.dxf", twoMeshes("2.5"), 1);
  const EntityView* view = prefetch.viewOf(second);
  ASSERT_TRUE(view);
  std::vector<std::string> seen = flat(*view);
  EXPECT_EQ(seen, readNow(second));
  EXPECT_NE(std::find(seen.begin(), seen.end(), "point=2.5,7.25,0.5"), seen.end());
}

}  // namespace

namespace {

// Faces enough for runs of every length; face `i` stands at x = i. Every
// tenth is a solid, every 70th has no extrusion direction (no plane to lie
// in), every 89th has no area and every 97th has its x in exponent form.
std::string manyFaces(int count) {
  std::string text = "0\nSECTION\n2\nENTITIES\n";
  for (int i = 0; i < count; ++i) {
    std::string x = std::to_string(i) + (i % 97 == 0 ? "5E-1" : ".5"), z = i % 89 == 0 ? "0" : "1";
    text += std::string(i % 10 == 0 ? "0\nSOLID\n" : "0\n3DFACE\n") + "8\n0\n10\n" + x + "\n20\n0\n30\n0\n11\n" + x +
            "\n21\n1\n31\n0\n12\n" + x + "\n22\n1\n32\n" + z + "\n13\n" + x + "\n23\n0\n33\n" + z + "\n";
    if (i % 70 == 0) text += "210\n0\n220\n0\n230\n0\n";
  }
  return text + "0\nENDSEC\n0\nEOF\n";
}

std::vector<std::string> flat(const render::Mesh& mesh) {
  std::vector<std::string> out;
  for (const auto& v : mesh.vertices())
    out.push_back(std::to_string(v.x) + "," + std::to_string(v.y) + "," + std::to_string(v.z));
  for (const auto& p : mesh.polygons())
    out.push_back(std::to_string(p.count) + ":" + std::to_string(p.corner[0]) + std::to_string(p.corner[1]) +
                  std::to_string(p.corner[2]) + std::to_string(p.corner[3]) + "/" + std::to_string(int(p.cut)));
  return out;
}

// Asks for each entity of `order` as the export does, and compares each view
// with the one read then, and each mesh built ahead with the one built then
// from the view read then (a face built ahead keeps no tags). Gives the
// number of meshes built ahead.
size_t expectViewsAsReadNow(render::ViewPrefetch& prefetch, const std::vector<const db::Record*>& order) {
  size_t builtAhead = 0;
  for (const db::Record* record : order) {
    const EntityView* view = prefetch.viewOf(*record);
    EXPECT_TRUE(view);
    if (!view) return builtAhead;
    EntityView readThen;
    EXPECT_TRUE(render::viewOf(*record, readThen));
    EXPECT_EQ(view->type, readThen.type);
    const render::BuiltAhead* built = prefetch.builtAhead();
    if (!built) {
      EXPECT_EQ(flat(*view), flat(readThen)) << "serial " << record->serial;
    } else {
      ++builtAhead;
      render::Mesh now;
      EXPECT_EQ(built->status, render::builderFor(readThen.type)(readThen, now)) << "serial " << record->serial;
      EXPECT_EQ(flat(built->mesh), flat(now)) << "serial " << record->serial;
    }
    prefetch.readNextAhead(*record);
  }
  return builtAhead;
}

TEST_F(ViewPrefetchTest, SmallEntitiesReadInRunsAreTheViewsReadThen) {
  open("faces.dxf", manyFaces(3000), 0);
  const auto& entities = db::currentDatabase()->entities();
  std::vector<const db::Record*> inOrder(entities.begin(), entities.end());
  EXPECT_GT(expectViewsAsReadNow(prefetch, inOrder), 2900u);
  // A caller that jumps back and about, midway through runs.
  std::vector<const db::Record*> jumping;
  for (size_t i = 0; i < inOrder.size(); i += (i % 7 == 0 ? 113 : 1)) jumping.push_back(inOrder[i]);
  for (size_t i = 400; i > 0; i -= 40) jumping.push_back(inOrder[i]);
  expectViewsAsReadNow(prefetch, jumping);
}

TEST_F(ViewPrefetchTest, AnEditWhileARunIsHandedOutIsSeen) {
  open("faces.dxf", manyFaces(600), 0);
  auto* database = db::currentDatabase();
  const auto& entities = database->entities();
  for (size_t i = 0; i < 300; ++i) {
    prefetch.viewOf(*entities[i]);
    prefetch.readNextAhead(*entities[i]);
  }
  db::Record& edited = *entities[301];
  ASSERT_TRUE(database->edit(edited));
  for (auto& tag : edited.stored->tags)
    if (tag.code == 10) tag.value = "-7.25";
  std::vector<const db::Record*> rest(entities.begin() + 300, entities.end());
  expectViewsAsReadNow(prefetch, rest);
  const EntityView* view = prefetch.viewOf(edited);
  ASSERT_TRUE(view);
  std::vector<std::string> seen = flat(*view);
  EXPECT_NE(std::find(seen.begin(), seen.end(), "10=-7.25"), seen.end());
}

}  // namespace
