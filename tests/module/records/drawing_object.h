// A fresh drawing holding one entity, with raw access to its extended data,
// for tests of the records stored on objects.
#pragma once
#include <gtest/gtest.h>

#include "acadmem.h"
#include "adslib.h"
#include "afx.h"
#include "dbbuild.h"
#include "dbmain.h"
#include "heap_faults.h"

class DrawingObject : public ::testing::Test {
 protected:
  void SetUp() override {
    db::build::newDrawing();
    liveBlocks = acad::heap::stats().liveBlocks;
    entity = db::build::addEntity("3DFACE", {{8, "0"}, {10, "1"}, {20, "2"}, {30, "3"}});
    ASSERT_FALSE(entity.isNull());
  }
  // The drawing's own blocks go with it; whatever remains was left by a record.
  void TearDown() override {
    db::build::newDrawing();
    EXPECT_EQ(acad::heap::stats().liveBlocks, liveBlocks) << "blocks left behind";
  }

  AcDbObject* open(AcDb::OpenMode mode) {
    AcDbObject* object = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(object, entity, mode), Acad::eOk);
    return object;
  }
  // Stores a list as the entity's data, registering its application first.
  void store(resbuf* list) {
    ASSERT_NE(list, nullptr);
    ads_regapp(list->resval.rstring);
    AcDbObject* object = open(AcDb::kForWrite);
    EXPECT_EQ(object->setXData(list), Acad::eOk);
    object->close();
    ads_relrb(list);
  }
  // The entity's data of one application; the caller releases it.
  resbuf* load(const char* app) {
    AcDbObject* object = open(AcDb::kForRead);
    resbuf* list = object->xData(app);
    object->close();
    return list;
  }
  // A record's readFromObject / writeToObject on the entity, opened for it.
  template <typename Record>
  int readInto(Record& record) {
    AcDbObject* object = open(AcDb::kForRead);
    int result = record.readFromObject(object);
    object->close();
    return result;
  }
  template <typename Record>
  int writeFrom(const Record& record) {
    AcDbObject* object = open(AcDb::kForWrite);
    int result = record.writeToObject(object);
    object->close();
    return result;
  }
  // writeFrom with the `n`th allocation from now failing; a memory error
  // thrown by the host's own bookkeeping counts as a failed write.
  template <typename Record>
  int writeFromFailingAllocation(const Record& record, uint64_t n) {
    AcDbObject* object = open(AcDb::kForWrite);
    int result = 0;
    acad::heap::failAfter(n);
    try {
      result = record.writeToObject(object);
    } catch (CMemoryException* error) {
      error->Delete();
    }
    acad::heap::failAfter(0);
    object->close();
    return result;
  }
  static int itemCount(const resbuf* list) {
    int count = 0;
    for (; list; list = list->rbnext) ++count;
    return count;
  }

  AcDbObjectId entity;
  size_t liveBlocks = 0;
};
