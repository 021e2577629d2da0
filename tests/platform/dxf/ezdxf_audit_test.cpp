// A drawing saved with new extended data passes another program's audit
// (ezdxf) as cleanly as the original, and that program reads the same items.
#include <gmock/gmock.h>

#include "adslib.h"
#include "db/database.h"
#include "dbmain.h"
#include "drawing_file.h"
#include "support/corpus.h"
#include "support/process.h"
#include "support/scratch_dir.h"
#include "support/status_matchers.h"

namespace {

std::string audit(const std::string& path, const std::string& handle) {
  test_support::ProcessResult run = test_support::runCommand(
      "/usr/bin/python3 " VRML_SOURCE_DIR "/tests/platform/dxf/ezdxf_audit.py '" + path + "' " + handle + " 2>&1");
  return run.status == 0 ? run.output : run.output + "exit status " + std::to_string(run.status);
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

class EzdxfAudit : public ::testing::TestWithParam<std::string> {};

TEST_P(EzdxfAudit, SavedExtendedDataIsCleanAndReadsBack) {
  SKIP_WITHOUT_CORPUS();
  const std::string original = test_support::corpusFile(GetParam());
  ASSERT_THAT(dxf::open(original), test_support::Succeeds());
  ASSERT_EQ(ads_regapp("VRML_Application"), RTNORM);
  ASSERT_EQ(ads_regapp("PE_URL"), RTNORM);
  ASSERT_EQ(ads_regapp("VRML_Url_Data"), RTNORM);

  db::Record* entity = db::currentDatabase()->entities().front();
  ASSERT_NE(entity->handle, 0u) << "the test needs a drawing with handles";
  AcDbObject* object = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(object, AcDbObjectId(entity), AcDb::kForWrite), Acad::eOk);
  const ads_point where = {1.5, -2, 1e-3};
  resbuf* list = ads_buildlist(1001, "VRML_Application", 1070, 1, 1040, 0.1, 1040, 1.0 / 3, 1001, "PE_URL", 1000,
                               "http://example.com/model.wrl", 1001, "VRML_Url_Data", 1000, "A link", 1010, where, 1071,
                               123456L, 0);
  ASSERT_EQ(object->setXData(list), Acad::eOk);
  ads_relrb(list);
  object->close();

  test_support::ScratchDir scratch;
  const std::string saved = scratch.file("saved.dxf");
  ASSERT_THAT(dxf::save(saved), test_support::Succeeds());

  char handle[32];
  std::snprintf(handle, sizeof handle, "%llX", static_cast<unsigned long long>(entity->handle));
  const std::string report = audit(saved, handle);
  EXPECT_EQ(firstLine(report), firstLine(audit(original, "-"))) << "no more audit findings than the original";
  EXPECT_THAT(firstLine(report), testing::StartsWith("errors 0 ")) << report;
  const std::string items = report.substr(report.find('\n') + 1);
  EXPECT_EQ(items,
            "1001 VRML_Application\n1070 1\n1040 0.1\n1040 0.3333333333333333\n"
            "1001 PE_URL\n1000 http://example.com/model.wrl\n"
            "1001 VRML_Url_Data\n1000 A link\n1010 1.5 -2.0 0.001\n1071 123456\n");
}

INSTANTIATE_TEST_SUITE_P(Drawings, EzdxfAudit,
                         ::testing::Values("libdxf__zcad-teapot_R2000.dxf", "ezdxf__POLI-ALL210_12.dxf",
                                           "libredwg__example_2010.dxf"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return std::string(info.param.substr(0, info.param.find('_')) + std::to_string(info.index));
                         });

}  // namespace
