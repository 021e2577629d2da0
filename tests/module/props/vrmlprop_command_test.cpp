// VRMLPROP on a drawing in this process: what it stores, what it refuses,
// what it prints, and that no block of the host allocator stays behind.
#include <gmock/gmock.h>

#include "dbbuild.h"
#include "dbmain.h"
#include "module/dialogs/module_dialog_fixture.h"
#include "wrl_props.h"

namespace {

class VrmlPropCommand : public ModuleDialogTest {
 protected:
  // The drawing's own blocks are counted before the fixture's baseline and
  // go with it in TearDown, so only what the command leaves shows up.
  void SetUp() override {
    db::build::newDrawing();
    ModuleDialogTest::SetUp();
    entity = db::build::addEntity("LINE", {{8, "0"}, {62, "2"}, {10, "0"}, {11, "1"}});
    ASSERT_FALSE(entity.isNull());
  }
  void TearDown() override {
    db::build::newDrawing();
    ModuleDialogTest::TearDown();
  }
  std::string command(const std::string& answers) {
    script(answers);
    VRMLPROP();
    return transcript();
  }
  // The entity's list of one application as "code value" lines.
  std::string stored(const char* app) {
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, entity, AcDb::kForRead) != Acad::eOk) return "<cannot open>";
    resbuf* list = object->xData(app);
    object->close();
    std::string text;
    for (resbuf* item = list; item; item = item->rbnext) {
      text += std::to_string(item->restype) + " ";
      if (item->restype == 1070) text += std::to_string(item->resval.rint);
      else if (item->restype == 1040) text += std::to_string(item->resval.rreal);
      else text += item->resval.rstring;
      text += "\n";
    }
    ads_relrb(list);
    return text;
  }

  AcDbObjectId entity;
};

TEST_F(VrmlPropCommand, OkUntouchedStoresTheDefaultMaterialAndNoLink) {
  std::string t = command("L\nok\n");
  EXPECT_THAT(t, testing::StartsWith("\nSelect object: L\nDialog 130"));
  EXPECT_EQ(stored("VRML_Application"),
            "1001 VRML_Application\n1070 1\n1040 0.000000\n1040 0.000000\n1040 0.100000\n"
            "1040 0.300000\n1040 0.300000\n1040 0.300000\n1040 0.000000\n1040 0.000000\n1040 0.000000\n"
            "1040 0.000000\n1040 0.000000\n1040 0.000000\n1040 0.200000\n1040 0.000000\n");
  EXPECT_EQ(stored("PE_URL"), "");
  EXPECT_EQ(stored("VRML_Url_Data"), "");
  EXPECT_THAT(t, testing::Not(testing::HasSubstr("Error")));
}

TEST_F(VrmlPropCommand, EditedValuesReplaceWhatWasStored) {
  command("L\ntype 1018 http://example.com/first.wrl\ntype 1020 First\nok\n");
  std::string t = command("L\ntype 1018 http://example.com/second.wrl\ncheck 1038 off\nslide 1015 40\nok\n");
  EXPECT_THAT(t, testing::HasSubstr("\n  1018 edit \"http://example.com/first.wrl\"\n"));
  EXPECT_EQ(stored("PE_URL"), "1001 PE_URL\n1000 http://example.com/second.wrl\n");
  EXPECT_EQ(stored("VRML_Url_Data"), "1001 VRML_Url_Data\n1000 First\n");
  std::string material = stored("VRML_Application");
  EXPECT_THAT(material, testing::StartsWith("1001 VRML_Application\n1070 0\n"));
  EXPECT_THAT(material, testing::EndsWith("1040 0.200000\n1040 0.400000\n"));
}

TEST_F(VrmlPropCommand, CancelNoPickAndUnknownEntitiesStoreAndPrintNothing) {
  std::string cancelled = command("L\ntype 1018 http://x\ncancel\n");
  EXPECT_THAT(cancelled, testing::EndsWith("\n> cancel\nDialog 130 closed: Cancel"));
  for (const char* answers : {"", "FFFF\nok\n"}) {
    std::string t = command(answers);
    EXPECT_THAT(t, testing::Not(testing::HasSubstr("Dialog 130")));
    EXPECT_THAT(t, testing::Not(testing::HasSubstr("Error")));
  }
  EXPECT_EQ(stored("PE_URL"), "");
  EXPECT_EQ(stored("VRML_Application"), "");
}

TEST_F(VrmlPropCommand, AnObjectHeldOpenIsReportedAndKeepsItsData) {
  AcDbObject* reader = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(reader, entity, AcDb::kForRead), Acad::eOk);
  std::string t = command("L\nok\n");
  reader->close();
  // The message has no line break of its own.
  EXPECT_THAT(t, testing::EndsWith("Dialog 130 closed: OKCannot open object for writing."));
  EXPECT_EQ(stored("VRML_Application"), "");
}

}  // namespace
