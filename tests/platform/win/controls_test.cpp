// The controls' answers to their messages: bars, sliders, buttons, edits.
#include "dialog_fixture.h"
#include "win/window.h"

namespace {

class Held : public CDialog {
 public:
  BOOL OnInitDialog() override { return TRUE; }
};

}  // namespace

TEST_F(DialogTest, ProgressBarRangeIsSixteenBitsAndStepsWrap) {
  Held dialog;
  script("");
  ASSERT_TRUE(dialog.Create(139));
  CProgressCtrl bar;
  ASSERT_TRUE(bar.SubclassDlgItem(1041, &dialog));
  EXPECT_EQ(bar.GetPos(), 0);
  // 70000 entities: the bar's end is the count's low 16 bits.
  bar.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 70000));
  EXPECT_EQ(bar.SendMessage(PBM_GETRANGE, FALSE), 70000 & 0xFFFF);
  EXPECT_EQ(bar.SendMessage(PBM_GETRANGE, TRUE), 0);
  bar.SetRange(0, 5);
  EXPECT_EQ(bar.SetStep(1), 10);  // the old step, 10 by default
  for (int i = 0; i < 5; ++i) bar.StepIt();
  EXPECT_EQ(bar.GetPos(), 5);
  EXPECT_EQ(bar.StepIt(), 5);  // past the end it starts over
  EXPECT_EQ(bar.GetPos(), 1);
  dialog.DestroyWindow();
  EXPECT_EQ(bar.m_hWnd, nullptr);
  EXPECT_EQ(bar.StepIt(), 0);  // a bar without a window ignores the call
}

TEST_F(DialogTest, SliderKeepsItsPositionInsideItsRange) {
  Held dialog;
  script("");
  ASSERT_TRUE(dialog.Create(130));
  CSliderCtrl slider;
  ASSERT_TRUE(slider.SubclassDlgItem(1014, &dialog));
  slider.SetRangeMin(0);
  slider.SetRangeMax(100);
  slider.SetTicFreq(10);
  slider.SetPos(57);
  EXPECT_EQ(slider.GetPos(), 57);
  slider.SetPos(250);
  EXPECT_EQ(slider.GetPos(), 100);
  slider.SetPos(-3);
  EXPECT_EQ(slider.GetPos(), 0);
  slider.SetPos(80);
  slider.SetRangeMax(50);  // a shrinking range pulls the thumb in
  EXPECT_EQ(slider.GetPos(), 50);
  EXPECT_EQ(slider.GetRangeMin(), 0);
  EXPECT_EQ(GetDlgItem(dialog.m_hWnd, 1014)->ticFreq, 10);
  // A second object cannot bind the same window.
  CSliderCtrl other;
  EXPECT_FALSE(other.SubclassDlgItem(1014, &dialog));
}

TEST_F(DialogTest, ButtonsCheckAndRadioGroupsHoldOneChoice) {
  Held dialog;
  script("");
  ASSERT_TRUE(dialog.Create(140));
  HWND meter = GetDlgItem(dialog.m_hWnd, 1047), inch = GetDlgItem(dialog.m_hWnd, 1048);
  HWND vrml1 = GetDlgItem(dialog.m_hWnd, 1055);
  win::click(vrml1);
  win::click(meter);
  win::click(inch);
  EXPECT_EQ(dialog.IsDlgButtonChecked(1047), 0u);
  EXPECT_EQ(dialog.IsDlgButtonChecked(1048), 1u);
  EXPECT_EQ(dialog.IsDlgButtonChecked(1055), 1u);  // another group keeps its choice
  EXPECT_EQ(win::radioGroup(meter).size(), 5u);
  EXPECT_EQ(win::radioGroup(vrml1).size(), 2u);
  // Clicking an automatic check box toggles it; BM_SETCHECK on a push
  // button changes nothing.
  win::click(GetDlgItem(dialog.m_hWnd, 1050));
  EXPECT_EQ(dialog.IsDlgButtonChecked(1050), 1u);
  dialog.CheckDlgButton(1, BST_CHECKED);
  EXPECT_EQ(dialog.IsDlgButtonChecked(1), 0u);
  // A disabled button takes no click.
  EnableWindow(meter, FALSE);
  win::click(meter);
  EXPECT_EQ(dialog.IsDlgButtonChecked(1047), 0u);
  EXPECT_FALSE(IsWindowEnabled(meter));
}

TEST_F(DialogTest, WindowTextAndEditLimit) {
  Held dialog;
  script("");
  ASSERT_TRUE(dialog.Create(140));
  CWnd* edit = dialog.GetDlgItem(1018);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit, dialog.GetDlgItem(1018));  // the same wrapper each time
  edit->SetWindowText("2.5 m");
  char buffer[4];
  EXPECT_EQ(edit->GetWindowText(buffer, sizeof buffer), 3);
  EXPECT_STREQ(buffer, "2.5");
  EXPECT_EQ(edit->GetWindowTextLength(), 5);
  EXPECT_EQ(edit->GetDlgCtrlID(), 1018);
  edit->SendMessage(EM_LIMITTEXT, 4);
  EXPECT_EQ(edit->SendMessage(EM_GETLIMITTEXT), 4);
  EXPECT_EQ(dialog.GetDlgItem(77), nullptr);
  dialog.SetDlgItemText(77, "nowhere");  // no such control: nothing happens
}

// A window asked about a moment ago is not live once destroyed, whichever
// window was asked about last; one made after it is.
TEST_F(DialogTest, ADestroyedWindowIsNotLiveThoughItWasLastAskedAbout) {
  Held dialog;
  script("");
  ASSERT_TRUE(dialog.Create(139));
  HWND whole = dialog.m_hWnd;
  HWND bar = win::findControl(whole, 1041);
  ASSERT_TRUE(IsWindow(bar));
  EXPECT_TRUE(IsWindow(whole));
  EXPECT_TRUE(IsWindow(bar));
  EXPECT_EQ(SendMessage(bar, PBM_SETPOS, 5, 0), 0);
  EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), 5);
  dialog.DestroyWindow();
  // Messages to no window, or to one gone since it was last asked about,
  // answer nothing and touch nothing.
  EXPECT_EQ(SendMessage(nullptr, PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), 0);
  EXPECT_FALSE(IsWindow(bar));
  EXPECT_FALSE(IsWindow(whole));
  EXPECT_EQ(SendMessage(nullptr, PBM_STEPIT, 0, 0), 0);
  Held next;
  ASSERT_TRUE(next.Create(139));
  EXPECT_TRUE(IsWindow(win::findControl(next.m_hWnd, 1041)));
  next.DestroyWindow();
}
