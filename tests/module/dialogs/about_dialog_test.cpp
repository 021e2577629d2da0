// The about box shows its template and ends with OK.
#include "AboutDialog.h"
#include "module_dialog_fixture.h"

TEST_F(ModuleDialogTest, AboutBoxShowsVersionAndBuildDate) {
  script("ok\n");
  {
    CAboutDialog about;
    EXPECT_EQ(about.DoModal(), IDOK);
  }
  std::string t = transcript();
  EXPECT_NE(t.find("\nDialog 129 \"Meshcast\"\n"), std::string::npos) << t;
  EXPECT_NE(t.find("\\nBuild date: 22/09/98\\nVersion: 2.0.1.8264\""), std::string::npos) << t;
  EXPECT_NE(t.find("\n  1 button \"OK\" default focus\n"), std::string::npos) << t;
  EXPECT_NE(t.find("\n  -1 icon \"#135\"\n"), std::string::npos) << t;
  EXPECT_NE(t.find("\nDialog 129 closed: OK"), std::string::npos) << t;
  script("cancel\n");  // the close box
  CAboutDialog again;
  EXPECT_EQ(again.DoModal(), IDCANCEL);
}
