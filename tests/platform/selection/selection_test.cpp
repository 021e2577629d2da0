// Selection sets: ads_ssget in its modes and with script answers, the set
// calls, and ads_entsel.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "acad/console.h"
#include "acad/selection.h"
#include "adslib.h"
#include "dbbuild.h"
#include "dbmain.h"

namespace {

// Runs `body` with `answers` as the script and returns the transcript.
template <typename Body>
std::string withAnswers(const std::string& answers, Body body) {
  std::FILE* script = std::tmpfile();
  std::fputs(answers.c_str(), script);
  std::rewind(script);
  acad_console::useScript(script);
  acad_console::beginCapture();
  body();
  std::string transcript = acad_console::endCapture();
  acad_console::useScript(nullptr);
  std::fclose(script);
  return transcript;
}

std::string handleOf(AcDbObjectId id) {
  char text[32];
  std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(id.handle()));
  return text;
}

class Selection : public ::testing::Test {
 protected:
  void SetUp() override {
    acdb_build::newDrawing();
    acdb_build::addLayer("Walls", 3);
    first = acdb_build::addEntity("3DFACE", {{8, "0"}, {10, "1"}, {20, "2"}, {30, "3"}});
    second = acdb_build::addEntity("LINE", {{8, "Walls"}, {62, "1"}});
    third = acdb_build::addEntity("3DFACE", {{8, "Walls"}});
    setsBefore = acad_selection::liveSets();
  }
  void TearDown() override { EXPECT_EQ(acad_selection::liveSets(), setsBefore) << "every set freed"; }

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
  std::string transcript = withAnswers(handleOf(second) + "\nL\n" + handleOf(second) + "\nnonsense\n\n", [&] {
    status = ads_ssget(nullptr, nullptr, nullptr, nullptr, ss);
  });
  ASSERT_EQ(status, RTNORM);
  EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{second, third}));
  ads_ssfree(ss);
  EXPECT_NE(transcript.find("Select objects: " + handleOf(second) + "\n1 found"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("*Invalid selection*"), std::string::npos) << transcript;

  transcript = withAnswers("all\nL=walls\n\n", [&] { status = ads_ssget(nullptr, nullptr, nullptr, nullptr, ss); });
  ASSERT_EQ(status, RTNORM);
  EXPECT_EQ(members(ss).size(), 3u);
  EXPECT_NE(transcript.find("3 found"), std::string::npos);
  EXPECT_NE(transcript.find("2 found"), std::string::npos);
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

TEST_F(Selection, EntselTakesAHandleAndGivesThePoint) {
  ads_name entity;
  ads_point picked = {9, 9, 9};
  int status = 0;
  std::string transcript =
      withAnswers(handleOf(first) + "\n", [&] { status = ads_entsel("\nSelect object: ", entity, picked); });
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

}  // namespace
