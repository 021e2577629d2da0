// The options dialog: what it opens with, what OK gives, what it refuses.
#include <gmock/gmock.h>
#include <cstdio>

#include "OptionsDlg.h"
#include "module_dialog_fixture.h"

namespace {

struct Outcome {
  INT_PTR result;
  WrlVersion version;
  int ucsTransform;
  WrlUnits units;
  double scale;
};

// Runs one dialog on the given actions, as VRMLOUT would.
Outcome runOptions() {
  COptionsDlg dialog;
  INT_PTR result = dialog.DoModal();
  return {result, dialog.getVersion(), dialog.m_options.ucsTransform, dialog.m_options.units, dialog.getScale()};
}

}  // namespace

TEST_F(ModuleDialogTest, OptionsDefaultsGiveVrml1MillimetresAndUcs) {
  script("ok\n");
  Outcome o = runOptions();
  EXPECT_EQ(o.result, IDOK);
  EXPECT_EQ(o.version, WrlVersion::k1);
  EXPECT_DOUBLE_EQ(o.scale, 0.001);
  EXPECT_EQ(o.ucsTransform, 1);
  std::string t = transcript();
  // Texts from the catalogue, the scale box disabled, the focus on OK.
  EXPECT_THAT(t, testing::HasSubstr("\nDialog 140 \"Meshcast options\"\n  1 button \"OK\" default focus\n"));
  EXPECT_THAT(t, testing::HasSubstr("\n  1054 group \"VRML version\"\n"));
  EXPECT_THAT(t, testing::HasSubstr("\n  1045 radio \"&Milimeter\" [x]\n"));
  EXPECT_THAT(t, testing::HasSubstr("\n  1018 edit \"1.0\" disabled\n"));
  EXPECT_THAT(t, testing::HasSubstr("\n  1050 check \"Recalculate points to current &UCS\" [x]\n"));
  EXPECT_THAT(t, testing::HasSubstr("\n  1055 radio \"VRML 1.0\" [x]\n"));
}

TEST_F(ModuleDialogTest, OptionsUnitsAndVersionChoices) {
  script("click &Inch\nclick VRML 2.0\ncheck Recalculate points to current UCS off\nok\n");
  Outcome inch = runOptions();
  EXPECT_EQ(inch.result, IDOK);
  EXPECT_DOUBLE_EQ(inch.scale, 0.0394);
  EXPECT_EQ(inch.units, WrlUnits::kInch);
  EXPECT_EQ(inch.version, WrlVersion::k2);
  EXPECT_EQ(inch.ucsTransform, 0);
  script("click Centimeter\nok\n");
  EXPECT_DOUBLE_EQ(runOptions().scale, 0.01);
  script("click M&eter\nok\n");
  EXPECT_DOUBLE_EQ(runOptions().scale, 1.0);
  script("click Other\ntype 1018 1000\nok\n");
  Outcome other = runOptions();
  EXPECT_EQ(other.units, WrlUnits::kOther);
  EXPECT_DOUBLE_EQ(other.scale, 1000.0);
  script("click Other\ntype 1018 2.5 m\nok\n");
  EXPECT_DOUBLE_EQ(runOptions().scale, 2.5);  // the leading number counts
}

// Besides zero and below: what no reader can hold in single precision, and
// what the world file would print as 0.000000.
TEST_F(ModuleDialogTest, OptionsRefuseScalesThatNoReaderCanUse) {
  for (const char* text : {"0", "-1", "", "abc", "inf", "-inf", "1e400", "nan", "3.5e38", "0.0000004", "0.0000005"}) {
    script(std::string("click Other\ntype 1018 ") + text + "\nok\ncancel\n");
    EXPECT_EQ(runOptions().result, IDCANCEL);  // the refusal kept it open
    std::string t = transcript();
    size_t box = t.find("\nMessage box \"Error\" (!): \"Scale factor must be > 0\" [OK]");
    ASSERT_NE(box, std::string::npos) << text << t;
    // After the box the focus is on the scale box, and the dialog goes on.
    size_t focus = t.find("\n  1018 edit", box);
    ASSERT_NE(focus, std::string::npos) << t;
    EXPECT_NE(t.find("focus", focus), std::string::npos);
    EXPECT_LT(box, t.find("\n> cancel"));
  }
  // Just inside the bounds.
  for (double scale : {3.4e38, 0.00000051, 0.000001}) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", scale);
    script(std::string("click Other\ntype 1018 ") + text + "\nok\n");
    Outcome o = runOptions();
    EXPECT_EQ(o.result, IDOK) << text;
    EXPECT_DOUBLE_EQ(o.scale, scale);
    EXPECT_THAT(transcript(), testing::Not(testing::HasSubstr("Scale factor"))) << text;
  }
}

TEST_F(ModuleDialogTest, OptionsOtherZeroThenMeterIsAccepted) {
  script("click Other\ntype 1018 0\nclick Meter\nok\n");
  Outcome o = runOptions();
  EXPECT_EQ(o.result, IDOK);
  EXPECT_DOUBLE_EQ(o.scale, 1.0);
  std::string t = transcript();
  EXPECT_THAT(t, testing::Not(testing::HasSubstr("Scale factor")));
  // Other enabled the scale box, Meter disabled it again.
  size_t enabled = t.find("\n  1018 edit \"1.0\"\n");
  ASSERT_NE(enabled, std::string::npos) << t;
  EXPECT_NE(t.find("\n  1018 edit \"0\" disabled\n", enabled), std::string::npos) << t;
}

TEST_F(ModuleDialogTest, OptionsCancelAndARunOutScriptExportNothing) {
  script("click Inch\ncancel\n");
  EXPECT_EQ(runOptions().result, IDCANCEL);
  script("click Inch\n");
  EXPECT_EQ(runOptions().result, IDCANCEL);
  // Every run starts from the defaults again.
  script("ok\n");
  EXPECT_DOUBLE_EQ(runOptions().scale, 0.001);
}
