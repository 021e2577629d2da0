// The properties dialog on its own: what it opens with, what OK and Cancel
// hand back to the records, the slider positions.
#include "module/dialogs/module_dialog_fixture.h"
#include "wrl_mat.h"
#include "wrl_props.h"
#include "wrl_url.h"

namespace {

bool shows(const std::string& transcript, const std::string& line) {
  return transcript.find("\n" + line + "\n") != std::string::npos;
}

class PropDialogTest : public ModuleDialogTest {
 protected:
  void TearDown() override {
    url.clear();
    ModuleDialogTest::TearDown();
  }
  int run(const std::string& actions) {
    script(actions);
    return runPropertiesDialog(url, material);
  }
  WrlUrl url;
  WrlMaterial material;
};

TEST_F(PropDialogTest, OpensWithTheCatalogueTextsAndTheRecordsValues) {
  url.setUrl("http://example.com/x.wrl");
  url.setDescription("X");
  material.setUseAcadColor(0);
  material.setTransparency(1.0);
  EXPECT_EQ(run("cancel\n"), 0);
  std::string t = transcript();
  EXPECT_TRUE(shows(t, "Dialog 130 \"VRML Properties\"")) << t;
  for (const char* line :
       {"  1017 group \"Material Properties\"", "  1 button \"OK\" default focus", "  2 button \"Cancel\"",
        "  1014 slider 20 (0..100)", "  1015 slider 100 (0..100)", "  1016 group \"URL Properties\"",
        "  1018 edit \"http://example.com/x.wrl\"", "  1019 static \"URL Link:\"", "  1020 edit \"X\"",
        "  1021 static \"Description:\"", "  1022 static \"Shininess:\"", "  1023 static \"Transparency:\"",
        "  1038 check \"Use AutoCAD Color\" [ ]"})
    EXPECT_TRUE(shows(t, line)) << line << t;
}

TEST_F(PropDialogTest, CancelAndARunOutScriptLeaveTheRecordsAlone) {
  for (const char* actions : {"type 1018 http://a\ncheck 1038 off\nslide 1014 90\ncancel\n", "type 1020 d\n"}) {
    EXPECT_EQ(run(actions), 0);
    EXPECT_EQ(url.url(), nullptr);
    EXPECT_EQ(url.description(), nullptr);
    EXPECT_EQ(material.useAcadColor(), 1);
    EXPECT_DOUBLE_EQ(material.shininess(), 0.2);
    EXPECT_EQ(material.valid(), 0);
  }
}

TEST_F(PropDialogTest, OkTakesTheEditedValuesAndMakesTheMaterialValid) {
  EXPECT_EQ(run("type 1018 http://example.com/a.wrl\ntype 1020 A link\ncheck 1038 off\n"
                "slide 1014 57\nslide 1015 100\nok\n"),
            1);
  ASSERT_NE(url.url(), nullptr);
  EXPECT_STREQ(url.url(), "http://example.com/a.wrl");
  EXPECT_STREQ(url.description(), "A link");
  EXPECT_EQ(material.useAcadColor(), 0);
  EXPECT_EQ(material.shininess(), 0.57);
  EXPECT_EQ(material.transparency(), 1.0);
  EXPECT_EQ(material.valid(), 1);
}

TEST_F(PropDialogTest, EmptyEntriesMakeTheTextsAbsent) {
  url.setUrl("http://example.com/old.wrl");
  url.setDescription("kept");
  EXPECT_EQ(run("type 1018 \nok\n"), 1);
  EXPECT_EQ(url.url(), nullptr);
  EXPECT_STREQ(url.description(), "kept");
  EXPECT_EQ(run("type 1020 \ncheck 1038 on\nok\n"), 1);
  EXPECT_EQ(url.description(), nullptr);
  EXPECT_EQ(material.useAcadColor(), 1);
}

TEST_F(PropDialogTest, SlidersOpenAtTheNearestPositionAndUntouchedKeepTheValue) {
  // 0.29 and 0.58 lie just below their hundredths.
  material.setShininess(0.29);
  material.setTransparency(0.58);
  EXPECT_EQ(run("ok\n"), 1);
  std::string t = transcript();
  EXPECT_TRUE(shows(t, "  1014 slider 29 (0..100)")) << t;
  EXPECT_TRUE(shows(t, "  1015 slider 58 (0..100)")) << t;
  EXPECT_EQ(material.shininess(), 0.29);
  EXPECT_EQ(material.transparency(), 0.58);
  // A value between positions stays as it was unless its slider moves.
  material.setShininess(0.123);
  EXPECT_EQ(run("slide 1015 3\nok\n"), 1);
  EXPECT_EQ(material.shininess(), 0.123);
  EXPECT_EQ(material.transparency(), 0.03);
}

TEST_F(PropDialogTest, EveryPositionSurvivesARoundTrip) {
  for (int position : {0, 1, 29, 57, 58, 99, 100}) {
    std::string slide = std::to_string(position);
    ASSERT_EQ(run("slide 1014 " + slide + "\nslide 1015 " + slide + "\nok\n"), 1);
    transcript();  // only the reopened dialog counts
    ASSERT_EQ(run("ok\n"), 1);
    std::string t = transcript();
    EXPECT_TRUE(shows(t, "  1014 slider " + slide + " (0..100)")) << slide;
    EXPECT_TRUE(shows(t, "  1015 slider " + slide + " (0..100)")) << slide;
    EXPECT_DOUBLE_EQ(material.shininess(), position / 100.0);
  }
}

}  // namespace
