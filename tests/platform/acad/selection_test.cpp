// Selection sets: ads_ssget in its modes and with script answers, the set
// calls, and ads_entsel.
#include <gmock/gmock.h>

#include <array>
#include <cstdio>
#include <string>

#include "acad/selection.h"
#include "adslib.h"
#include "db/database.h"
#include "db/record_tags.h"
#include "dbbuild.h"
#include "dbmain.h"
#include "drawing_file.h"
#include "support/corpus.h"
#include "support/files.h"
#include "support/scratch_dir.h"
#include "support/scripted_console.h"
#include "support/status_matchers.h"

namespace {

// Runs `body` with `answers` as the script and returns the transcript.
template <typename Body>
std::string withAnswers(const std::string& answers, Body body) {
  ScriptedConsole console;
  console.script(answers);
  body();
  return console.transcript();
}

std::string handleOf(AcDbObjectId id) {
  char text[32];
  std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(id.handle()));
  return text;
}

class Selection : public ::testing::Test {
 protected:
  void SetUp() override {
    db::build::newDrawing();
    db::build::addLayer("Walls", 3);
    first = db::build::addEntity("3DFACE", {{8, "0"}, {10, "1"}, {20, "2"}, {30, "3"}});
    second = db::build::addEntity("LINE", {{8, "Walls"}, {62, "1"}});
    third = db::build::addEntity("3DFACE", {{8, "Walls"}});
    setsBefore = acad::selection::liveSets();
  }
  void TearDown() override { EXPECT_EQ(acad::selection::liveSets(), setsBefore) << "every set freed"; }

  std::vector<AcDbObjectId> members(const ads_name ss) {
    std::vector<AcDbObjectId> ids;
    long length = 0;
    EXPECT_EQ(ads_sslength(ss, &length), RTNORM);
    for (long i = 0; i < length; ++i) {
      ads_name entity;
      AcDbObjectId id;
      EXPECT_EQ(ads_ssname(ss, i, entity), RTNORM);
      EXPECT_EQ(acdbGetObjectId(id, entity), Acad::eOk);
      ids.push_back(id);
    }
    ads_name beyond;
    EXPECT_EQ(ads_ssname(ss, length, beyond), RTERROR);
    return ids;
  }

  AcDbObjectId first, second, third;
  size_t setsBefore = 0;
};

TEST_F(Selection, ModeXTakesEveryLiveEntityThroughTheFilter) {
  ads_name ss;
  ASSERT_EQ(ads_ssget("X", nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{first, second, third}));
  ads_ssfree(ss);

  resbuf* filter = ads_buildlist(RTDXF0, "3dface", 8, "WALLS", 0);
  ASSERT_EQ(ads_ssget("X", nullptr, nullptr, filter, ss), RTNORM);
  EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{third}));
  ads_ssfree(ss);
  ads_relrb(filter);

  filter = ads_buildlist(62, 256, 0);
  ASSERT_EQ(ads_ssget("X", nullptr, nullptr, filter, ss), RTNORM);
  EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{first, third})) << "no colour tag is ByLayer";
  ads_ssfree(ss);
  ads_relrb(filter);

  AcDbObject* object = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(object, third, AcDb::kForWrite), Acad::eOk);
  object->erase();
  object->close();
  ASSERT_EQ(ads_ssget("_X", nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{first, second})) << "erased entities are not selected";
  ads_ssfree(ss);
  EXPECT_EQ(ads_ssget("Q", nullptr, nullptr, nullptr, ss), RTERROR);
}

TEST_F(Selection, ScriptAnswersBuildTheSetUntilEnter) {
  ads_name ss;
  int status = 0;
  std::string transcript = withAnswers(handleOf(second) + "\nL\n" + handleOf(second) + "\nnonsense\n\n",
                                       [&] { status = ads_ssget(nullptr, nullptr, nullptr, nullptr, ss); });
  ASSERT_EQ(status, RTNORM);
  EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{second, third}));
  ads_ssfree(ss);
  EXPECT_THAT(transcript, testing::HasSubstr("Select objects: " + handleOf(second) + "\n1 found"));
  EXPECT_THAT(transcript, testing::HasSubstr("*Invalid selection*"));

  transcript = withAnswers("all\nL=walls\n\n", [&] { status = ads_ssget(nullptr, nullptr, nullptr, nullptr, ss); });
  ASSERT_EQ(status, RTNORM);
  EXPECT_EQ(members(ss).size(), 3u);
  EXPECT_THAT(transcript, testing::HasSubstr("3 found"));
  EXPECT_THAT(transcript, testing::HasSubstr("2 found"));
  ads_ssfree(ss);
}

TEST_F(Selection, NothingChosenOrInputEndedMakesNoSet) {
  ads_name ss;
  int status = 0;
  withAnswers("\n", [&] { status = ads_ssget(nullptr, nullptr, nullptr, nullptr, ss); });
  EXPECT_EQ(status, RTERROR);
  withAnswers(handleOf(first) + "\n", [&] { status = ads_ssget(nullptr, nullptr, nullptr, nullptr, ss); });
  EXPECT_EQ(status, RTCAN) << "the script ran out before Enter";
}

TEST_F(Selection, SsaddMakesAndExtendsSets) {
  ads_name entity, ss, same;
  ASSERT_EQ(acdbGetAdsName(entity, second), Acad::eOk);
  ASSERT_EQ(ads_ssadd(entity, nullptr, ss), RTNORM);
  EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{second}));
  ASSERT_EQ(acdbGetAdsName(entity, first), Acad::eOk);
  ASSERT_EQ(ads_ssadd(entity, ss, same), RTNORM);
  ASSERT_EQ(ads_ssadd(entity, ss, same), RTNORM);
  EXPECT_EQ(same[0], ss[0]);
  EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{second, first})) << "an entity joins once";

  ads_name empty;
  ASSERT_EQ(ads_ssadd(nullptr, nullptr, empty), RTNORM);
  EXPECT_TRUE(members(empty).empty());

  ads_name bogus = {entity[0] + 999, entity[1]};
  ads_name other;
  EXPECT_EQ(ads_ssadd(bogus, nullptr, other), RTERROR);
  EXPECT_EQ(ads_ssadd(entity, bogus, other), RTERROR) << "an entity name is not a set";
  long length = 0;
  EXPECT_EQ(ads_sslength(entity, &length), RTERROR);

  EXPECT_EQ(ads_ssfree(ss), RTNORM);
  EXPECT_EQ(ads_ssfree(ss), RTERROR);
  EXPECT_EQ(ads_sslength(ss, &length), RTERROR);
  EXPECT_EQ(ads_ssfree(empty), RTNORM);
}

// A loop making and freeing a one-entity set per entity reuses freed
// storage: a reused list must start empty, a freed name must stay dead,
// and sets made before and after a freed one must keep their members.
TEST_F(Selection, FreedSetsLeaveTheOthersAndTheirNamesStayDead) {
  ads_name all;
  ASSERT_EQ(ads_ssget("X", nullptr, nullptr, nullptr, all), RTNORM);
  ads_name previous = {0, 0};
  for (long i = 0; i < 3; ++i) {
    ads_name entity, single;
    ASSERT_EQ(ads_ssname(all, i, entity), RTNORM);
    ASSERT_EQ(ads_ssadd(entity, nullptr, single), RTNORM);
    EXPECT_GT(single[0], previous[0]) << "a new set gets a new name";
    AcDbObjectId id;
    ASSERT_EQ(acdbGetObjectId(id, entity), Acad::eOk);
    EXPECT_EQ(members(single), (std::vector<AcDbObjectId>{id})) << "entity " << i;
    EXPECT_EQ(ads_ssfree(single), RTNORM);
    long length = 0;
    EXPECT_EQ(ads_sslength(single, &length), RTERROR) << "a freed name names nothing";
    previous[0] = single[0];
  }

  ads_name entity, older, middle, newer;
  ASSERT_EQ(acdbGetAdsName(entity, first), Acad::eOk);
  ASSERT_EQ(ads_ssadd(entity, nullptr, older), RTNORM);
  ASSERT_EQ(acdbGetAdsName(entity, second), Acad::eOk);
  ASSERT_EQ(ads_ssadd(entity, nullptr, middle), RTNORM);
  ASSERT_EQ(acdbGetAdsName(entity, third), Acad::eOk);
  ASSERT_EQ(ads_ssadd(entity, nullptr, newer), RTNORM);
  EXPECT_EQ(ads_ssfree(middle), RTNORM);
  EXPECT_EQ(members(older), (std::vector<AcDbObjectId>{first}));
  EXPECT_EQ(members(newer), (std::vector<AcDbObjectId>{third}));
  EXPECT_EQ(members(all), (std::vector<AcDbObjectId>{first, second, third}));
  EXPECT_EQ(ads_ssfree(middle), RTERROR);
  EXPECT_EQ(ads_ssfree(older), RTNORM);
  EXPECT_EQ(ads_ssfree(newer), RTNORM);
  EXPECT_EQ(ads_ssfree(all), RTNORM);
}

// Freed sets are kept for new ones, freed in any order: the live sets keep
// their members and the freed names stay dead while their storage serves.
TEST_F(Selection, SetsFreedInAnyOrderServeNewSetsAndStayDead) {
  const AcDbObjectId ids[] = {first, second, third};
  std::vector<std::array<long, 2>> sets(7);
  for (size_t i = 0; i < sets.size(); ++i) {
    ads_name entity;
    ASSERT_EQ(acdbGetAdsName(entity, ids[i % 3]), Acad::eOk);
    ASSERT_EQ(ads_ssadd(entity, nullptr, sets[i].data()), RTNORM);
  }
  for (size_t freed : {1, 3, 0, 6, 5}) EXPECT_EQ(ads_ssfree(sets[freed].data()), RTNORM);
  EXPECT_EQ(acad::selection::liveSets(), setsBefore + 2);
  ads_name entity, fresh, empty;
  ASSERT_EQ(acdbGetAdsName(entity, third), Acad::eOk);
  ASSERT_EQ(ads_ssadd(entity, nullptr, fresh), RTNORM);
  ASSERT_EQ(ads_ssadd(nullptr, nullptr, empty), RTNORM);
  EXPECT_GT(fresh[0], sets[6][0]) << "a new set gets a new name";
  EXPECT_EQ(members(fresh), (std::vector<AcDbObjectId>{third}));
  EXPECT_TRUE(members(empty).empty()) << "a kept list starts empty";
  EXPECT_EQ(members(sets[2].data()), (std::vector<AcDbObjectId>{third}));
  EXPECT_EQ(members(sets[4].data()), (std::vector<AcDbObjectId>{second}));
  long length = 0;
  for (size_t freed : {0, 1, 3, 5, 6}) EXPECT_EQ(ads_sslength(sets[freed].data(), &length), RTERROR) << freed;
  for (const ads_name* live : {&fresh, &empty}) EXPECT_EQ(ads_ssfree(*live), RTNORM);
  for (size_t kept : {2, 4}) EXPECT_EQ(ads_ssfree(sets[kept].data()), RTNORM);
}

TEST_F(Selection, EntselTakesAHandleAndGivesThePoint) {
  ads_name entity;
  ads_point picked = {9, 9, 9};
  int status = 0;
  std::string transcript = withAnswers(handleOf(first) + "\n",
                                       [&] { status = ads_entsel("\nSelect object: ", entity, picked); });
  ASSERT_EQ(status, RTNORM);
  AcDbObjectId id;
  ASSERT_EQ(acdbGetObjectId(id, entity), Acad::eOk);
  EXPECT_EQ(id, first);
  EXPECT_EQ(picked[0], 1);
  EXPECT_EQ(picked[2], 3);
  EXPECT_EQ(transcript, "\nSelect object: " + handleOf(first));

  withAnswers("FFFF\n", [&] { status = ads_entsel(nullptr, entity, picked); });
  EXPECT_EQ(status, RTERROR);
  withAnswers("", [&] { status = ads_entsel(nullptr, entity, picked); });
  EXPECT_EQ(status, RTCAN);
}

// The ENTITIES section holds model space and the active layout's paper
// space (group 67). ALL at the prompt takes the current space only, model
// space while TILEMODE is 1; mode "X" takes the whole drawing.
// Two model-space lines (one flagged 67 0) and two paper-space entities, on
// layers named after their space; "" leaves $TILEMODE out.
std::string spacesDrawing(const std::string& tileMode) {
  std::string text = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n";
  if (!tileMode.empty()) text += "9\n$TILEMODE\n70\n" + tileMode + "\n";
  text += "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nMODEL\n11\n1\n";
  text += "0\nVIEWPORT\n8\nPAPER\n67\n1\n40\n10\n41\n10\n69\n1\n";
  text += "0\nLINE\n8\nMODEL\n67\n0\n21\n1\n0\nLINE\n8\nPAPER\n67\n1\n11\n2\n";
  return text + "0\nENDSEC\n0\nEOF\n";
}

// The layers of what a selection took, in order.
std::string layersSelected(const char* mode, const std::string& answers) {
  ads_name ss;
  int status = 0;
  withAnswers(answers, [&] { status = ads_ssget(mode, nullptr, nullptr, nullptr, ss); });
  if (status != RTNORM) return "none";
  std::string layers;
  long length = 0;
  ads_sslength(ss, &length);
  for (long i = 0; i < length; ++i) {
    ads_name name;
    ads_ssname(ss, i, name);
    layers += " " + std::string(db::RecordTags(*db::recordOf(name)).find(8).value_or("?"));
  }
  ads_ssfree(ss);
  return layers;
}

TEST(SelectionSpaces, AllTakesTheCurrentSpaceAndModeXEverySpace) {
  for (auto [tileMode, all] : {std::pair{"1", " MODEL MODEL"}, {"", " MODEL MODEL"}, {"0", " PAPER PAPER"}}) {
    SCOPED_TRACE(std::string("TILEMODE ") + tileMode);
    ASSERT_THAT(dxf::openFromMemory("spaces.dxf", spacesDrawing(tileMode)), test_support::Succeeds());
    EXPECT_EQ(layersSelected(nullptr, "ALL\n\n"), all);
    EXPECT_EQ(layersSelected("X", ""), " MODEL PAPER MODEL PAPER");
  }
  // An entity held in memory, not in the file text, is judged by its tags.
  db::currentDatabase()->addEntity("LINE", {{8, "PAPER"}, {67, "1"}});
  db::currentDatabase()->addEntity("LINE", {{8, "MODEL"}});
  EXPECT_EQ(layersSelected(nullptr, "ALL\n\n"), " PAPER PAPER PAPER");
  // TILEMODE is the drawing's: setting it moves ALL to the other space and
  // rewrites the header's value, which a save then keeps.
  ASSERT_THAT(dxf::openFromMemory("spaces.dxf", spacesDrawing("0")), test_support::Succeeds());
  resbuf value{};
  value.restype = RTSHORT;
  value.resval.rint = 1;
  ASSERT_EQ(ads_setvar("TILEMODE", &value), RTNORM);
  EXPECT_EQ(layersSelected(nullptr, "ALL\n\n"), " MODEL MODEL");
  value.resval.rint = 2;
  EXPECT_EQ(ads_setvar("tilemode", &value), RTERROR);
  ASSERT_EQ(ads_getvar("TILEMODE", &value), RTNORM);
  EXPECT_EQ(value.resval.rint, 1);
  test_support::ScratchDir scratch;
  ASSERT_THAT(dxf::save(scratch.file("spaces.dxf")), test_support::Succeeds());
  EXPECT_THAT(test_support::readFile(scratch.file("spaces.dxf")), testing::HasSubstr("$TILEMODE\n 70\n1\n"));
  // A drawing of another program: 157 model-space objects and 2 viewports.
  SKIP_WITHOUT_CORPUS();
  ASSERT_THAT(dxf::open(test_support::corpusFile("acadsharp__sample_AC1009_ascii.dxf")), test_support::Succeeds());
  ads_name ss;
  std::string transcript = withAnswers("ALL\n\n", [&] { ads_ssget(nullptr, nullptr, nullptr, nullptr, ss); });
  EXPECT_THAT(transcript, testing::HasSubstr("\n157 found"));
  ads_ssfree(ss);
  db::build::newDrawing();
}

}  // namespace
