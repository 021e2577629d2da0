// VRMLOUT run inside the test's own process, where the host allocator and the
// drawing can be looked at directly: an entity that cannot be opened, and no
// block of the module left behind.
#include <gmock/gmock.h>

#include "acadmem.h"
#include "adslib.h"
#include "dbmain.h"
#include "drawing_file.h"
#include "e2e/reliability/in_process_host.h"
#include "heap_faults.h"
#include "support/files.h"
#include "support/scratch_dir.h"

namespace {

class VrmloutInProcess : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_host.ready()) << m_host.error(); }

  // Runs VRMLOUT on every object with the options dialog's defaults; the
  // transcript of the command alone.
  std::string exportAll(const std::string& out) { return m_host.run("VRMLOUT", "ALL\n\n" + out + "\nok\n"); }

  AcDbObjectId entity(int position) {
    ads_name ss, name;
    EXPECT_EQ(ads_ssget("X", nullptr, nullptr, nullptr, ss), RTNORM);
    EXPECT_EQ(ads_ssname(ss, position, name), RTNORM);
    ads_ssfree(ss);
    AcDbObjectId id;
    EXPECT_EQ(acdbGetObjectId(id, name), Acad::eOk);
    return id;
  }

  test_support::ScratchDir m_scratch;
  InProcessHost m_host{std::string(VRML_TEST_DATA_DIR) + "/vrmlout/five.dxf", m_scratch.file("registry.txt")};
};

TEST_F(VrmloutInProcess, AnEntityThatCannotBeOpenedIsNamedByItsPositionAndSkipped) {
  AcDbObject* held = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(held, entity(2), AcDb::kForWrite), Acad::eOk);
  std::string transcript = exportAll(m_scratch.file("held.wrl"));
  held->close();
  EXPECT_THAT(transcript, testing::HasSubstr("\nCannot open entity for reading - 2."));
  EXPECT_THAT(transcript, testing::HasSubstr("\"3 object(s) converted.\""));
  EXPECT_THAT(transcript, testing::HasSubstr("\"1 object(s) ignored.\""));
  std::string world = test_support::readFile(m_scratch.file("held.wrl"));
  EXPECT_THAT(world, testing::Not(testing::HasSubstr("DEF Object3 ")));
  EXPECT_THAT(world, testing::HasSubstr("DEF Object4 ")) << "shape numbers count from 1";
}

TEST_F(VrmloutInProcess, AnExportLeavesNoBlockOfTheModuleBehind) {
  exportAll(m_scratch.file("warm.wrl"));  // first-use state of the framework settles here
  auto before = acad::heap::stats().liveBlocks;
  std::string transcript = exportAll(m_scratch.file("again.wrl"));
  EXPECT_THAT(transcript, testing::HasSubstr("\"4 object(s) converted.\""));
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

}  // namespace
