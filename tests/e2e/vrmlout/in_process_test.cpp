// VRMLOUT run inside the test's own process, where the host allocator and the
// drawing can be looked at directly: an entity that cannot be opened, and no
// block of the module left behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "../../platform/dxf/dxf_test_support.h"
#include "acad/arx_loader.h"
#include "acad/command_stack.h"
#include "acad/console.h"
#include "acad/lisp_functions.h"
#include "acadmem.h"
#include "adslib.h"
#include "dbmain.h"
#include "drawing_file.h"
#include "../host/run_host.h"
#include "heap_faults.h"

namespace {

class VrmloutInProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("ARXHOST_REGISTRY", m_scratch.file("registry.txt").c_str(), 1);
    std::string error;
    ASSERT_TRUE(drawing_file::open(std::string(VRML_TEST_DATA_DIR) + "/vrmlout/five.dxf", error)) << error;
    acad_console::beginCapture();
    ASSERT_TRUE(acad_arx::load(binPath("vrml.arx")));
    acad_lisp_functions::takeQueuedExpressions();
  }
  void TearDown() override {
    acad_arx::unload("vrml");
    acad_console::endCapture();
  }

  // Runs VRMLOUT on every object with the options dialog's defaults; the
  // transcript of the command alone.
  std::string exportAll(const std::string& out) {
    std::FILE* script = std::fopen(m_scratch.file("answers.scr").c_str(), "w+");
    std::fprintf(script, "ALL\n\n%s\nok\n", out.c_str());
    std::rewind(script);
    acad_console::useScript(script);
    acad_console::endCapture();
    acad_console::beginCapture();
    acad_commands::run(*acad_commands::find("VRMLOUT"));
    acad_console::useScript(nullptr);
    std::fclose(script);
    return acad_console::endCapture();
  }

  AcDbObjectId entity(int position) {
    ads_name ss, name;
    EXPECT_EQ(ads_ssget("X", nullptr, nullptr, nullptr, ss), RTNORM);
    EXPECT_EQ(ads_ssname(ss, position, name), RTNORM);
    ads_ssfree(ss);
    AcDbObjectId id;
    EXPECT_EQ(acdbGetObjectId(id, name), Acad::eOk);
    return id;
  }

  dxf_test::ScratchDir m_scratch;
};

TEST_F(VrmloutInProcess, AnEntityThatCannotBeOpenedIsNamedByItsPositionAndSkipped) {
  AcDbObject* held = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(held, entity(2), AcDb::kForWrite), Acad::eOk);
  std::string transcript = exportAll(m_scratch.file("held.wrl"));
  held->close();
  EXPECT_NE(transcript.find("\nCannot open entity for reading - 2."), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("\"3 object(s) converted.\""), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("\"1 object(s) ignored.\""), std::string::npos) << transcript;
  std::string world = dxf_test::readFile(m_scratch.file("held.wrl"));
  EXPECT_EQ(world.find("DEF Object3 "), std::string::npos);
  EXPECT_NE(world.find("DEF Object4 "), std::string::npos) << "shape numbers count from 1";
}

TEST_F(VrmloutInProcess, AnExportLeavesNoBlockOfTheModuleBehind) {
  exportAll(m_scratch.file("warm.wrl"));  // first-use state of the framework settles here
  auto before = acad_heap::stats().liveBlocks;
  std::string transcript = exportAll(m_scratch.file("again.wrl"));
  EXPECT_NE(transcript.find("\"4 object(s) converted.\""), std::string::npos) << transcript;
  EXPECT_EQ(acad_heap::stats().liveBlocks, before);
}

}  // namespace
