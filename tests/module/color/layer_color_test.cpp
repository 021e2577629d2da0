#include <gtest/gtest.h>

#include "acadmem.h"
#include "dbbuild.h"
#include "dbmain.h"
#include "heap_faults.h"
#include "wrl_color.h"

namespace {

class LayerColor : public ::testing::Test {
 protected:
  void SetUp() override {
    db::build::newDrawing();
    ASSERT_FALSE(db::build::addLayer("Walls", 3).isNull());
    ASSERT_FALSE(db::build::addLayer("Glass", 254).isNull());
    liveBlocks = acad::heap::stats().liveBlocks;
  }
  void TearDown() override { EXPECT_EQ(acad::heap::stats().liveBlocks, liveBlocks); }

  // A writer is refused while any reader is left open.
  static void expectClosed(const char* layerName) {
    AcDbLayerTable* table = nullptr;
    ASSERT_EQ(acdbCurDwg()->getLayerTable(table, AcDb::kForWrite), Acad::eOk) << "table left open";
    AcDbLayerTableRecord* layer = nullptr;
    if (table->getAt(layerName, layer, AcDb::kForWrite) == Acad::eOk) layer->close();
    else ADD_FAILURE() << "layer " << layerName << " left open or missing";
    table->close();
  }

  size_t liveBlocks = 0;
};

}  // namespace

TEST_F(LayerColor, FoundLayerGivesItsIndexAndIsClosedAgain) {
  EXPECT_EQ(layerColorIndex("Walls"), 3);
  EXPECT_EQ(layerColorIndex("Glass"), 254);
  EXPECT_EQ(layerColorIndex("0"), 7);
  expectClosed("Walls");
}

TEST_F(LayerColor, MissingLayerOrAbsentNameGivesSevenAndLeavesTheTableClosed) {
  EXPECT_EQ(layerColorIndex("NoSuchLayer"), 7);
  EXPECT_EQ(layerColorIndex(nullptr), 7);
  expectClosed("Walls");
}

TEST_F(LayerColor, TableThatCannotBeOpenedGivesSeven) {
  AcDbLayerTable* table = nullptr;
  ASSERT_EQ(acdbCurDwg()->getLayerTable(table, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(layerColorIndex("Walls"), 7);
  table->close();
  EXPECT_EQ(layerColorIndex("Walls"), 3);
}

TEST_F(LayerColor, LayerThatCannotBeOpenedGivesSevenAndClosesTheTable) {
  AcDbLayerTable* table = nullptr;
  ASSERT_EQ(acdbCurDwg()->getLayerTable(table, AcDb::kForRead), Acad::eOk);
  AcDbLayerTableRecord* walls = nullptr;
  ASSERT_EQ(table->getAt("Walls", walls, AcDb::kForWrite), Acad::eOk);
  table->close();
  EXPECT_EQ(layerColorIndex("Walls"), 7);
  walls->close();
  expectClosed("Walls");
}
