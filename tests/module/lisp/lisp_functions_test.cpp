// vrml_geturl and vrml_getmaterial called from AutoLISP on an object of a
// drawing, through the host's function table as a loaded module is called.
#include <gtest/gtest.h>

#include "ArxUtil.h"
#include "ZornVrml.h"
#include "acad/console.h"
#include "acad/lisp_functions.h"
#include "lisp/interpreter.h"
#include "lisp/lisp.h"
#include "module/records/drawing_object.h"

namespace {

char g_moduleStandIn;  // its address serves as the module handle

class LispFunctions : public DrawingObject {
 protected:
  static void startModule() {
    constructModuleStatics();
    setModuleHandle(reinterpret_cast<HINSTANCE>(&g_moduleStandIn));
    attachModule();
    defineFunctions();
  }
  static void stopModule() {
    lisp("(setq gone nil m nil)");
    lisp::hostInterpreter().store().collect();
    undefineFunctions();
    detachModule();
    destroyModuleStatics();
  }
  void SetUp() override {
    DrawingObject::SetUp();
    startModule();
  }
  // The evaluator's cells come from the same heap in this binary and grow
  // as it is used; the handlers' own blocks are counted by HandlersLeaveNoBlocks.
  void TearDown() override {
    stopModule();
    db::build::newDrawing();
    liveBlocks = acad::heap::stats().liveBlocks;
    DrawingObject::TearDown();
  }
  static std::string lisp(const std::string& text) {
    acad::console::beginCapture();
    lisp::evaluateAndPrint(text);
    return acad::console::endCapture();
  }
  void storeMaterial(int useAcadColor, double shininess, double transparency) {
    store(ads_buildlist(1001, "VRML_Application", 1070, useAcadColor, 1040, 0.0, 1040, 0.0, 1040, 0.1, 1040, 0.3, 1040,
                        0.3, 1040, 0.3, 1040, 0.0, 1040, 0.0, 1040, 0.0, 1040, 0.0, 1040, 0.0, 1040, 0.0, 1040,
                        shininess, 1040, transparency, 0));
  }
};

TEST_F(LispFunctions, LinkOfAnObjectWithoutDataIsTwoNils) { EXPECT_EQ(lisp("(vrml_geturl (entlast))"), "(nil nil)"); }

TEST_F(LispFunctions, LinkListsUrlAndDescriptionEachOrNil) {
  store(ads_buildlist(1001, "PE_URL", 1000, "http://host/a.wrl", 0));
  EXPECT_EQ(lisp("(vrml_geturl (entlast))"), "(\"http://host/a.wrl\" nil)");
  store(ads_buildlist(1001, "VRML_Url_Data", 1000, "The \"a\" world", 0));
  EXPECT_EQ(lisp("(VRML_GETURL (entlast))"), "(\"http://host/a.wrl\" \"The \\\"a\\\" world\")");
}

TEST_F(LispFunctions, MaterialIsNilWithoutDataAndAListWithIt) {
  EXPECT_EQ(lisp("(vrml_getmaterial (entlast))"), "nil");
  storeMaterial(1, 0.2, 0.0);
  EXPECT_EQ(lisp("(vrml_getmaterial (entlast))"), "(1 0.2 0.0)");
  storeMaterial(0, 0.75, 0.5);
  EXPECT_EQ(lisp("(setq m (vrml_getmaterial (entlast)))"), "(0 0.75 0.5)");
}

TEST_F(LispFunctions, IncompleteMaterialDataIsNil) {
  store(ads_buildlist(1001, "VRML_Application", 1070, 1, 1040, 0.0, 0));
  EXPECT_EQ(lisp("(vrml_getmaterial (entlast))"), "nil");
}

TEST_F(LispFunctions, WrongArgumentsPrintTheUsageAndFail) {
  const std::string failed = "; error: ADS request error";
  EXPECT_EQ(lisp("(vrml_geturl)"), "\nUsage: vrml_geturl entity\n" + failed);
  EXPECT_EQ(lisp("(vrml_geturl (entlast) (entlast))"), "\nUsage: vrml_geturl entity\n" + failed);
  EXPECT_EQ(lisp("(vrml_geturl \"3A\")"), "\nUsage: vrml_geturl entity\n" + failed);
  EXPECT_EQ(lisp("(vrml_getmaterial)"), "\nUsage: vrml_getmaterial entity\n" + failed);
  EXPECT_EQ(lisp("(vrml_getmaterial 1 2)"), "\nUsage: vrml_getmaterial entity\n" + failed);
}

TEST_F(LispFunctions, ObjectsThatCannotBeOpenedFailSilently) {
  lisp("(setq gone (entlast))");
  AcDbObject* object = open(AcDb::kForWrite);
  ASSERT_EQ(object->erase(), Acad::eOk);
  object->close();
  EXPECT_EQ(lisp("(vrml_geturl gone)"), "; error: ADS request error");
  EXPECT_EQ(lisp("(vrml_getmaterial gone)"), "; error: ADS request error");
  // A name from a drawing that is closed names nothing.
  db::build::newDrawing();
  db::build::addEntity("3DFACE", {{8, "0"}});
  EXPECT_EQ(lisp("(vrml_geturl gone)"), "; error: ADS request error");
  lisp("(setq gone nil)");
}

// Called through the function table directly, without the evaluator (whose
// own cells come from the same heap in this binary).
TEST_F(LispFunctions, HandlersLeaveNoBlocks) {
  store(ads_buildlist(1001, "PE_URL", 1000, "http://host/a/long/path/world.wrl", 0));
  store(ads_buildlist(1001, "VRML_Url_Data", 1000, "A description longer than a short string", 0));
  storeMaterial(1, 0.2, 0.0);
  ads_name name;
  ASSERT_EQ(acdbGetAdsName(name, entity), Acad::eOk);
  resbuf* entityArgs = ads_buildlist(RTENAME, name, 0);
  resbuf* noArgs = nullptr;
  size_t before = acad::heap::stats().liveBlocks;
  acad::console::beginCapture();
  for (const char* function : {"vrml_geturl", "vrml_getmaterial"}) {
    for (const resbuf* args : {entityArgs, noArgs}) {
      resbuf* result = nullptr;
      std::string failure;
      bool called = acad::lisp_functions::call(function, args, &result, &failure);
      EXPECT_EQ(called, args != nullptr) << function;
      EXPECT_EQ(result != nullptr, called) << function;
      ads_relrb(result);
    }
  }
  acad::console::endCapture();
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
  ads_relrb(entityArgs);
}

}  // namespace
