// The about box shows its template and ends with OK.
#include <gmock/gmock.h>

#include "AboutDialog.h"
#include "module_dialog_fixture.h"

TEST_F(ModuleDialogTest, AboutBoxShowsVersionAndBuildDate) {
  script("ok\n");
  {
    CAboutDialog about;
    EXPECT_EQ(about.DoModal(), IDOK);
  }
  std::string t = transcript();
  EXPECT_THAT(t, testing::HasSubstr("\nDialog 129 \"Meshcast\"\n"));
  EXPECT_THAT(t, testing::HasSubstr("\\nBuild date: 22/09/98\\nVersion: 2.0.1.8264\""));
  EXPECT_THAT(t, testing::HasSubstr("\n  1 button \"OK\" default focus\n"));
  EXPECT_THAT(t, testing::HasSubstr("\n  -1 icon \"#135\"\n"));
  EXPECT_THAT(t, testing::HasSubstr("\nDialog 129 closed: OK"));
  script("cancel\n");  // the close box
  CAboutDialog again;
  EXPECT_EQ(again.DoModal(), IDCANCEL);
}
