// Opening objects: one writer or many readers, erased objects, class checks.
#include <gtest/gtest.h>

#include "dbbuild.h"
#include "dbmain.h"

namespace {

class OpenRules : public ::testing::Test {
 protected:
  void SetUp() override {
    db::build::newDrawing();
    face = db::build::addEntity("3DFACE", {{8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}});
    ASSERT_FALSE(face.isNull());
  }
  AcDbObjectId face;
};

TEST_F(OpenRules, ReadersShareAndWriterIsAlone) {
  AcDbObject* first = nullptr;
  AcDbObject* second = nullptr;
  AcDbObject* writer = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(first, face, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenAcDbObject(second, face, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(first->isReadEnabled());
  EXPECT_FALSE(first->isWriteEnabled());
  EXPECT_EQ(acdbOpenAcDbObject(writer, face, AcDb::kForWrite), Acad::eWasOpenForRead);
  EXPECT_EQ(writer, nullptr);
  first->close();
  EXPECT_EQ(acdbOpenAcDbObject(writer, face, AcDb::kForWrite), Acad::eWasOpenForRead);
  second->close();
  ASSERT_EQ(acdbOpenAcDbObject(writer, face, AcDb::kForWrite), Acad::eOk);
  EXPECT_TRUE(writer->isWriteEnabled());
  AcDbObject* other = nullptr;
  EXPECT_EQ(acdbOpenAcDbObject(other, face, AcDb::kForRead), Acad::eWasOpenForWrite);
  EXPECT_EQ(acdbOpenAcDbObject(other, face, AcDb::kForWrite), Acad::eWasOpenForWrite);
  writer->close();
  ASSERT_EQ(acdbOpenAcDbObject(other, face, AcDb::kForWrite), Acad::eOk);
  other->close();
}

TEST_F(OpenRules, ErasedObjectsOpenOnlyWhenAsked) {
  AcDbObject* object = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(object, face, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(object->erase(), Acad::eNotOpenForWrite);
  object->close();
  ASSERT_EQ(acdbOpenAcDbObject(object, face, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(object->erase(), Acad::eOk);
  object->close();
  EXPECT_EQ(acdbOpenAcDbObject(object, face, AcDb::kForRead), Acad::eWasErased);
  AcDbEntity* entity = nullptr;
  EXPECT_EQ(acdbOpenAcDbEntity(entity, face, AcDb::kForRead), Acad::eWasErased);
  ASSERT_EQ(acdbOpenAcDbObject(object, face, AcDb::kForRead, true), Acad::eOk);
  EXPECT_TRUE(object->isErased());
  object->close();
}

TEST_F(OpenRules, NullIdsAndWrongClassesAreRefused) {
  AcDbObject* object = nullptr;
  EXPECT_EQ(acdbOpenAcDbObject(object, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
  AcDbObjectId layer = db::build::addLayer("WALLS", 3);
  ASSERT_FALSE(layer.isNull());
  AcDbEntity* entity = nullptr;
  EXPECT_EQ(acdbOpenAcDbEntity(entity, layer, AcDb::kForRead), Acad::eNotThatKindOfClass);
  ASSERT_EQ(acdbOpenAcDbObject(object, layer, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(object->isKindOf(AcDbLayerTableRecord::desc()));
  EXPECT_TRUE(object->isKindOf(AcDbObject::desc()));
  EXPECT_FALSE(object->isKindOf(AcDbEntity::desc()));
  object->close();
  ASSERT_EQ(acdbOpenAcDbEntity(entity, face, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(entity->isKindOf(AcDbEntity::desc()));
  EXPECT_EQ(entity->isA(), AcDbEntity::desc());
  entity->close();
}

TEST_F(OpenRules, EntityNamesLeadBackToTheirObject) {
  ads_name name = {0, 0};
  ASSERT_EQ(acdbGetAdsName(name, face), Acad::eOk);
  AcDbObjectId id;
  ASSERT_EQ(acdbGetObjectId(id, name), Acad::eOk);
  EXPECT_EQ(id, face);
  EXPECT_NE(id.handle(), 0u);
  ads_name forged = {name[0] + 1000, name[1]};
  EXPECT_EQ(acdbGetObjectId(id, forged), Acad::eInvalidAdsName);
  db::build::newDrawing();
  EXPECT_EQ(acdbGetObjectId(id, name), Acad::eInvalidAdsName) << "a name from a discarded drawing";
}

}  // namespace
