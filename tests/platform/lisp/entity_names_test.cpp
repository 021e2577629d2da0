#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "dbbuild.h"
#include "dbmain.h"
#include "lisp_test_support.h"

namespace {

std::string printedName(AcDbObjectId id) {
  ads_name name;
  EXPECT_EQ(acdbGetAdsName(name, id), Acad::eOk);
  char text[64];
  std::snprintf(text, sizeof text, "<Entity name: %lx>", name[0]);
  return text;
}

std::string handleText(AcDbObjectId id) {
  char text[32];
  std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(id.handle()));
  return text;
}

AcDbObjectId addLine(double x) {
  return db::build::addEntity(
      "LINE", {{8, "0"}, {10, std::to_string(x)}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "1"}, {31, "0"}});
}

TEST(LispEntities, EmptyDrawingHasNoEntities) {
  db::build::newDrawing();
  EXPECT_EQ(lispOutput("(list (entlast) (entnext))"), "(nil nil)");
}

void erase(AcDbObjectId id) {
  AcDbObject* object = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(object->erase(), Acad::eOk);
  object->close();
}

TEST(LispEntities, WalkTheDrawingInOrderSkippingErasedOnes) {
  db::build::newDrawing();
  AcDbObjectId first = addLine(0);
  AcDbObjectId erased = addLine(1);
  AcDbObjectId third = addLine(2);
  erase(erased);

  EXPECT_EQ(lispOutput("(entnext)"), printedName(first));
  EXPECT_EQ(lispOutput("(entlast)"), printedName(third));
  EXPECT_EQ(lispOutput("(entnext (entnext))"), printedName(third));
  EXPECT_EQ(lispOutput("(entnext (entlast))"), "nil");
  EXPECT_EQ(lispOutput("(entnext 5)"), "; error: bad argument type: lentityp 5");
  EXPECT_EQ(lispOutput("(entlast 1)"), "; error: too many arguments");
  // With the last one erased too, the first is the last that remains.
  erase(third);
  EXPECT_EQ(lispOutput("(entlast)"), printedName(first));
  EXPECT_EQ(lispOutput("(entnext (entnext))"), "nil");
}

TEST(LispEntities, HandentFindsLiveEntitiesByHandle) {
  db::build::newDrawing();
  AcDbObjectId line = addLine(0);
  addLine(1);
  ASSERT_FALSE(line.handle() == 0);
  EXPECT_EQ(lispOutput("(handent \"" + handleText(line) + "\")"), printedName(line));
  EXPECT_EQ(lispOutput("(setq e (handent \"" + handleText(line) + "\"))"), printedName(line));
  EXPECT_EQ(lispOutput("(handent \"FFFFFF\")"), "nil");
  EXPECT_EQ(lispOutput("(handent \"not hex\")"), "nil");
  EXPECT_EQ(lispOutput("(handent 12)"), "; error: bad argument type: stringp 12");
}

TEST(LispEntities, NamesOfAClosedDrawingLeadNowhere) {
  db::build::newDrawing();
  addLine(0);
  lispOutput("(setq old (entlast))");
  db::build::newDrawing();
  EXPECT_EQ(lispOutput("(entnext old)"), "nil");
}

}  // namespace
