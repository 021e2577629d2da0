// Extended data: per-application replacement, removal and the items' round trip.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "acadmem.h"
#include "adslib.h"
#include "dbbuild.h"
#include "dbmain.h"
#include "heap_faults.h"

namespace {

class XData : public ::testing::Test {
 protected:
  void SetUp() override {
    db::build::newDrawing();
    face = db::build::addEntity("3DFACE", {{8, "0"}, {10, "1"}, {20, "2"}, {30, "3"}});
    ASSERT_EQ(ads_regapp("PE_URL"), RTNORM);
    ASSERT_EQ(ads_regapp("VRML_Url_Data"), RTNORM);
  }
  Acad::ErrorStatus store(resbuf* list) {
    AcDbObject* object = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(object, face, AcDb::kForWrite), Acad::eOk);
    Acad::ErrorStatus status = object->setXData(list);
    object->close();
    ads_relrb(list);
    return status;
  }
  resbuf* load(const char* app) {
    AcDbObject* object = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(object, face, AcDb::kForRead), Acad::eOk);
    resbuf* list = object->xData(app);
    object->close();
    return list;
  }
  std::string firstString(const char* app) {
    resbuf* list = load(app);
    std::string text = list && list->rbnext ? list->rbnext->resval.rstring : "<none>";
    ads_relrb(list);
    return text;
  }
  AcDbObjectId face;
};

TEST_F(XData, ReplacingOneApplicationLeavesTheOthers) {
  ASSERT_EQ(store(ads_buildlist(1001, "PE_URL", 1000, "a.wrl", 1001, "VRML_Url_Data", 1000, "first", 0)), Acad::eOk);
  ASSERT_EQ(store(ads_buildlist(1001, "PE_URL", 1000, "b.wrl", 0)), Acad::eOk);
  EXPECT_EQ(firstString("PE_URL"), "b.wrl");
  EXPECT_EQ(firstString("VRML_Url_Data"), "first");
  EXPECT_EQ(firstString("pe_url"), "b.wrl") << "application names ignore case";
}

TEST_F(XData, NameOnlyListRemovesThatApplication) {
  ASSERT_EQ(store(ads_buildlist(1001, "PE_URL", 1000, "a.wrl", 1001, "VRML_Url_Data", 1000, "d", 0)), Acad::eOk);
  ASSERT_EQ(store(ads_buildlist(1001, "PE_URL", 0)), Acad::eOk);
  EXPECT_EQ(load("PE_URL"), nullptr);
  EXPECT_EQ(firstString("VRML_Url_Data"), "d");
  resbuf* all = load(nullptr);
  ASSERT_NE(all, nullptr);
  EXPECT_STREQ(all->resval.rstring, "VRML_Url_Data");
  ads_relrb(all);
}

TEST_F(XData, EveryItemKindComesBackAsStored) {
  ASSERT_EQ(ads_regapp("VRML_Application"), RTNORM);
  const ads_point where = {1.5, -2.25, 1e-7};
  resbuf* list = ads_buildlist(1001, "VRML_Application", 1070, 5, 1040, 0.1, 1071, 70000L, 1002, "{", 1010, where, 1005,
                               "1F", 1002, "}", 0);
  resbuf* binary = ads_newrb(1004);
  binary->resval.rbinary.clen = 3;
  binary->resval.rbinary.buf = static_cast<char*>(acad_malloc(3));
  std::memcpy(binary->resval.rbinary.buf, "\x00\xff\x10", 3);
  resbuf* tail = list;
  while (tail->rbnext) tail = tail->rbnext;
  tail->rbnext = binary;
  ASSERT_EQ(store(list), Acad::eOk);

  resbuf* back = load("VRML_Application");
  ASSERT_NE(back, nullptr);
  const int codes[] = {1001, 1070, 1040, 1071, 1002, 1010, 1005, 1002, 1004};
  resbuf* rb = back;
  for (int code : codes) {
    ASSERT_NE(rb, nullptr);
    EXPECT_EQ(rb->restype, code);
    if (code == 1070) {
      EXPECT_EQ(rb->resval.rint, 5);
    } else if (code == 1040) {
      EXPECT_EQ(rb->resval.rreal, 0.1);
    } else if (code == 1071) {
      EXPECT_EQ(rb->resval.rlong, 70000L);
    } else if (code == 1010) {
      for (int i = 0; i < 3; ++i) EXPECT_EQ(rb->resval.rpoint[i], where[i]);
    } else if (code == 1004) {
      ASSERT_EQ(rb->resval.rbinary.clen, 3);
      EXPECT_EQ(std::memcmp(rb->resval.rbinary.buf, "\x00\xff\x10", 3), 0);
    }
    rb = rb->rbnext;
  }
  EXPECT_EQ(rb, nullptr);
  ads_relrb(back);
}

TEST_F(XData, BadListsChangeNothing) {
  ASSERT_EQ(store(ads_buildlist(1001, "PE_URL", 1000, "kept", 0)), Acad::eOk);
  EXPECT_EQ(store(ads_buildlist(1001, "NOT_REGISTERED", 1000, "x", 0)), Acad::eInvalidInput);
  EXPECT_EQ(store(ads_buildlist(1000, "no application first", 0)), Acad::eInvalidInput);
  EXPECT_EQ(store(ads_buildlist(1001, "PE_URL", 1000, "line\nbreak", 0)), Acad::eInvalidInput);
  EXPECT_EQ(store(ads_buildlist(1001, "PE_URL", 1000, "new", 1040, std::nan(""), 0)), Acad::eInvalidInput);
  EXPECT_EQ(store(ads_buildlist(1001, "PE_URL", 1002, "[", 0)), Acad::eInvalidInput);
  EXPECT_EQ(store(nullptr), Acad::eInvalidInput);
  EXPECT_EQ(firstString("PE_URL"), "kept");

  AcDbObject* object = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(object, face, AcDb::kForRead), Acad::eOk);
  resbuf* list = ads_buildlist(1001, "PE_URL", 1000, "x", 0);
  EXPECT_EQ(object->setXData(list), Acad::eNotOpenForWrite);
  ads_relrb(list);
  object->close();
}

TEST_F(XData, ListsComeFromTheHostHeap) {
  ASSERT_EQ(store(ads_buildlist(1001, "PE_URL", 1000, "a.wrl", 0)), Acad::eOk);
  size_t before = acad::heap::stats().liveBlocks;
  resbuf* list = load("PE_URL");
  EXPECT_EQ(acad::heap::stats().liveBlocks, before + 4) << "two items and their two strings";
  ads_relrb(list);
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

TEST_F(XData, RegisteringTwiceOrBadNamesFails) {
  EXPECT_EQ(ads_regapp("pe_url"), RTERROR);
  EXPECT_EQ(ads_regapp(""), RTERROR);
  EXPECT_EQ(ads_regapp("has space"), RTERROR);
  EXPECT_EQ(ads_regapp(nullptr), RTERROR);
}

}  // namespace
