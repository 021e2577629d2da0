// Dialogs from templates: modal runs, message maps, data exchange and
// validation, modeless windows and the controls' messages.
#include <gmock/gmock.h>
#include <string>

#include "dialog_fixture.h"
#include "ui/presentation.h"
#include "win/window.h"

namespace {

// The options template with plain members, exchanged the framework's way.
class UnitsDialog : public CDialog {
 public:
  UnitsDialog() : CDialog(140) {}
  int units = 0, ucs = 1, version = 0, otherClicks = 0;
  CString scale = "1.0";
  CEdit scaleEdit;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, 1018, scaleEdit);
    DDX_Radio(pDX, 1045, units);
    DDX_Text(pDX, 1018, scale);
    DDX_Check(pDX, 1050, ucs);
    DDX_Radio(pDX, 1055, version);
  }
  void onOther() { ++otherClicks; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(UnitsDialog, CDialog)
ON_BN_CLICKED(1049, onOther)
END_MESSAGE_MAP()

// The properties template: edit boxes limited to 250 characters.
class LinkDialog : public CDialog {
 public:
  LinkDialog() : CDialog(130) {}
  CString url, description;
  int limitSeen = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, 1018, url);
    DDV_MaxChars(pDX, url, 250);
    DDX_Text(pDX, 1020, description);
    DDV_MaxChars(pDX, description, 250);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    limitSeen = static_cast<int>(SendDlgItemMessage(1018, EM_GETLIMITTEXT));
    return TRUE;
  }
};

}  // namespace

TEST_F(DialogTest, ModalDialogExchangesChosenValuesOnOK) {
  UnitsDialog dialog;
  script("click 1047\ncheck Recalculate points to current UCS off\nclick VRML 2.0\nclick &Other\nok\n");
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.units, 4);
  EXPECT_EQ(dialog.ucs, 0);
  EXPECT_EQ(dialog.version, 1);
  EXPECT_EQ(dialog.otherClicks, 1);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(dialog.scaleEdit.m_hWnd, nullptr);  // unbound when the window went
}

TEST_F(DialogTest, ScriptRunningOutCancelsWithoutExchange) {
  UnitsDialog dialog;
  script("click Inch\n");
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.units, 0);
  std::string t = transcript();
  EXPECT_THAT(t, testing::HasSubstr("\nDialog 140 closed: Cancel"));
}

TEST_F(DialogTest, InitialStateFocusAndTranscriptLines) {
  UnitsDialog dialog;
  dialog.units = 2;
  dialog.ucs = 7;  // no check state: shown unticked
  script("cancel\n");
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  std::string t = transcript();
  EXPECT_THAT(t, testing::StartsWith(
                     "\nDialog 140 \"Meshcast options\"\n  1 button \"OK\" default focus\n  2 button \"Cancel\"\n"));
  EXPECT_THAT(t, testing::HasSubstr("\n  1047 radio \"M&eter\" [x]\n"));
  EXPECT_THAT(t, testing::HasSubstr("\n  1045 radio \"&Milimeter\" [ ]\n"));
  EXPECT_THAT(t, testing::HasSubstr("\n  1018 edit \"1.0\"\n"));
  EXPECT_THAT(t, testing::HasSubstr("\n  1050 check \"Recalculate points to current &UCS\" [ ]\n"));
  EXPECT_THAT(t, testing::HasSubstr("\n> cancel\nDialog 140 closed: Cancel"));
}

TEST_F(DialogTest, RefusedActionsAreReportedAndTheDialogGoesOn) {
  UnitsDialog dialog;
  script("type 1018 5\nfrobnicate\nclick 9999\nslide 1050 3\ncheck 1045 off\nclick 1049\ncheck 1050 maybe\nok\n");
  EXPECT_TRUE(dialog.DoModal() == IDOK);
  std::string t = transcript();
  EXPECT_THAT(t, testing::HasSubstr("\n? unknown dialog action: frobnicate"));
  EXPECT_THAT(t, testing::HasSubstr("\n? no control 9999"));
  EXPECT_THAT(t, testing::HasSubstr("\n? control 1050 is no slider"));
  EXPECT_THAT(t, testing::HasSubstr("\n? a radio button is cleared by choosing another"));
  EXPECT_THAT(t, testing::HasSubstr("\n? check needs on or off"));
  EXPECT_EQ(dialog.units, 4);
}

TEST_F(DialogTest, DisabledControlsRefuseScriptedInput) {
  class Disabling : public UnitsDialog {
    BOOL OnInitDialog() override {
      CDialog::OnInitDialog();
      scaleEdit.EnableWindow(FALSE);
      return TRUE;
    }
  } dialog;
  script("type 1018 12\nok\n");
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_STREQ(dialog.scale, "1.0");
  EXPECT_THAT(transcript(), testing::HasSubstr("\n? control 1018 is disabled"));
}

TEST_F(DialogTest, MaxCharsLimitsTheBoxAndRefusesLongerTexts) {
  LinkDialog dialog;
  dialog.url = std::string(251, 'u').c_str();
  script("ok\ntype 1018 " + std::string(300, 'x') + "\nok\n");
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.limitSeen, 250);
  // Typing stops at the limit; the over-long text set by code was refused.
  EXPECT_EQ(dialog.url.GetLength(), 250);
  std::string t = transcript();
  size_t refusal = t.find("\"Please enter no more than 250 characters.\" [OK]");
  ASSERT_NE(refusal, std::string::npos) << t;
  EXPECT_THAT(t, testing::HasSubstr("(!)"));
  // After the refusal the focus moved to the box that failed.
  EXPECT_NE(t.find(" focus", refusal), std::string::npos);
  EXPECT_EQ(t.find("Please enter", refusal + 10), std::string::npos) << t;  // told once
}

TEST_F(DialogTest, MissingTemplateGivesMinusOne) {
  CDialog dialog(4242);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_FALSE(dialog.Create(4242));
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(DialogTest, ModelessDialogLivesUntilDestroyedAndIsShownByItsTemplate) {
  CDialog dialog;
  script("");
  ASSERT_TRUE(dialog.Create(139, CWnd::FromHandle(adsw_acadMainWnd())));
  HWND window = dialog.m_hWnd;
  ASSERT_TRUE(IsWindow(window));
  EXPECT_TRUE(IsWindowVisible(window));  // the template says visible
  EXPECT_EQ(dialog.GetParent()->m_hWnd, adsw_acadMainWnd());
  EXPECT_FALSE(dialog.Create(139));  // one window per object
  dialog.SetDlgItemText(1042, "3 object(s) converted.");
  CString text;
  dialog.GetDlgItemText(1042, text);
  EXPECT_STREQ(text, "3 object(s) converted.");
  EXPECT_TRUE(dialog.DestroyWindow());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(dialog.DestroyWindow());
  // Calls on the stale handle are refused, not followed.
  EXPECT_FALSE(SetWindowTextA(window, "x"));
  EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_EQ(GetDlgItem(window, 1042), nullptr);
  std::string t = transcript();
  EXPECT_THAT(t, testing::HasSubstr("\nDialog 139 \"Meshcast in progress\""));
  EXPECT_THAT(t, testing::HasSubstr("\n  1042 static \"3 object(s) converted.\"\nDialog 139 closed"));
}

TEST_F(DialogTest, ObjectGoingAwayTakesItsWindow) {
  HWND window;
  {
    CDialog dialog;
    script("");
    ASSERT_TRUE(dialog.Create(139));
    window = dialog.m_hWnd;
  }
  EXPECT_FALSE(IsWindow(window));
}

namespace {

// A dialog that counts the cancels it gets and goes.
class CountingCancels : public CDialog {
 public:
  int cancels = 0;
  void OnCancel() override {
    ++cancels;
    DestroyWindow();
  }
};

}  // namespace

TEST_F(DialogTest, ScheduledActionsRunAtTheirPump) {
  CountingCancels dialog;
  script("at 2 cancel\nat x cancel\nnext command\n");
  ASSERT_TRUE(dialog.Create(139));
  ui::pumpMessages();
  EXPECT_EQ(dialog.cancels, 0);
  ui::pumpMessages();
  EXPECT_EQ(dialog.cancels, 1);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  ui::pumpMessages();
  EXPECT_EQ(dialog.cancels, 1);
  // Lines that are no schedule stay for whoever reads next.
  std::string next;
  EXPECT_TRUE(acad::console::peekLine(next));
  EXPECT_EQ(next, "next command");
  std::string t = transcript();
  EXPECT_THAT(t, testing::HasSubstr("\n? bad schedule line: at x cancel"));
  EXPECT_THAT(t, testing::HasSubstr("\nat 2 cancel\nDialog 139 closed"));
}

// A dialog closed before its last scheduled action takes that action with
// it; the actions of the next dialog still run at their pumps, counted from
// its own showing.
TEST_F(DialogTest, ScheduledActionsOfAClosedDialogLeaveTheNextOnesDue) {
  CountingCancels first, second;
  script("at 1 cancel\nat 3 cancel\n");
  ASSERT_TRUE(first.Create(139));
  ui::pumpMessages();
  EXPECT_EQ(first.cancels, 1);
  script("at 2 cancel\n");
  ASSERT_TRUE(second.Create(139));
  ui::pumpMessages();
  EXPECT_EQ(second.cancels, 0);
  ui::pumpMessages();
  EXPECT_EQ(second.cancels, 1);
  EXPECT_EQ(first.cancels, 1);
}
