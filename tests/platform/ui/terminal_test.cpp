// The terminal presentation without a terminal: what a dialog looks like in
// character cells, and what the keys do to it.
#include <gmock/gmock.h>

#include "platform/win/dialog_fixture.h"
#include "ui/canvas.h"
#include "ui/terminal.h"
#include "win/window.h"

using ui::terminal::Key;
using ui::terminal::KeyPress;

namespace {

class Shown : public CDialog {
 public:
  int units = 0;
  CString scale = "1.0";

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Radio(pDX, 1045, units);
    DDX_Text(pDX, 1018, scale);
  }
};

void press(HWND dialog, Key key, char ch = 0) { ui::terminal::handleKey(dialog, KeyPress{key, ch}); }

int focusId(HWND dialog) { return dialog->focus ? dialog->focus->id : 0; }

}  // namespace

TEST_F(DialogTest, DialogUnitsBecomeCharacterCells) {
  Shown dialog;
  script("");
  ASSERT_TRUE(dialog.Create(140));
  ui::Canvas c = ui::drawDialog(dialog.m_hWnd);
  // Dialog units to the nearest cell: a quarter across, an eighth down,
  // inside a frame with a caption line.
  ASSERT_EQ(c.width, 59 + 2);
  ASSERT_EQ(c.height, 20 + 3);
  EXPECT_EQ(c.text[0].substr(0, 20), "+= Meshcast options ");
  // OK at x 177, y 7: column 1 + 44, row 2 + 1, 13 cells wide, the default
  // button in angle brackets and, having the focus, marked on its left.
  EXPECT_EQ(c.text[3].substr(44, 14), "><    OK     >");
  EXPECT_EQ(c.highlight[3].substr(45, 13), std::string(13, 'r'));
  // Millimeter at x 14, y 21: column 5, row 5, chosen by the exchange.
  EXPECT_EQ(c.text[5].substr(5, 13), "(*) Milimeter");
  EXPECT_EQ(c.highlight[5][9], 'u');               // its access key M is underlined
  EXPECT_EQ(c.text[8].substr(5, 9), "( ) Meter");  // y 45: row 2 + 6
  EXPECT_EQ(c.highlight[8][10], 'u');              // M&eter: the e
  // The scale box at x 84, y 69, 78 wide: column 22, row 11, 20 cells.
  EXPECT_EQ(c.text[11].substr(22, 20), "[1.0_______________]");
  // The group box frame at x 7, y 7, 162 wide: columns 3 to 42.
  EXPECT_EQ(c.text[3].substr(3, 17), "+-Drawing units--");
  EXPECT_EQ(c.text[3][42], '+');
}

TEST_F(DialogTest, ProgressBarIsDrawnWithItsCount) {
  Shown dialog;
  script("");
  ASSERT_TRUE(dialog.Create(139));
  SendMessageA(GetDlgItem(dialog.m_hWnd, 1041), PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  SendMessageA(GetDlgItem(dialog.m_hWnd, 1041), PBM_SETPOS, 10, 0);
  ui::Canvas c = ui::drawDialog(dialog.m_hWnd);
  std::string bar = c.text[2 + 5].substr(1 + 7, 45);  // x 28, y 36, 179 wide
  EXPECT_EQ(bar.front(), '[');
  EXPECT_EQ(bar.back(), ']');
  EXPECT_EQ(bar.find('#'), 1u);
  EXPECT_THAT(bar, testing::HasSubstr(" 10 of 100 "));
  EXPECT_EQ(bar.substr(1, 5), "####.");  // a tenth of 43 cells
}

TEST_F(DialogTest, KeysMoveTheFocusAndChange) {
  Shown dialog;
  script("");
  ASSERT_TRUE(dialog.Create(140));
  HWND d = dialog.m_hWnd;
  ASSERT_EQ(focusId(d), IDOK);
  // Tab visits the tab stops and the chosen radio button, in reading order.
  press(d, Key::Tab);
  EXPECT_EQ(focusId(d), IDCANCEL);
  press(d, Key::Tab);
  EXPECT_EQ(focusId(d), 1045);
  press(d, Key::Tab);
  EXPECT_EQ(focusId(d), 1018);
  press(d, Key::BackTab);
  EXPECT_EQ(focusId(d), 1045);
  // Arrows inside a radio group move and choose.
  press(d, Key::Down);
  EXPECT_EQ(focusId(d), 1046);
  EXPECT_EQ(dialog.IsDlgButtonChecked(1046), 1u);
  EXPECT_EQ(dialog.IsDlgButtonChecked(1045), 0u);
  press(d, Key::Up);
  press(d, Key::Up);  // wraps to the last of the group
  EXPECT_EQ(focusId(d), 1049);
  // Access keys: the letter alone outside an edit box, Alt+letter anywhere.
  press(d, Key::Char, 'e');
  EXPECT_EQ(focusId(d), 1047);
  EXPECT_EQ(dialog.IsDlgButtonChecked(1047), 1u);
  press(d, Key::Char, 'u');
  EXPECT_EQ(dialog.IsDlgButtonChecked(1050), 1u);
  press(d, Key::Char, ' ');
  EXPECT_EQ(dialog.IsDlgButtonChecked(1050), 0u);
  // Typing into the scale box: the focus selects its text, so Backspace
  // clears it, and then edits character by character; letters there are text.
  dialog.GotoDlgCtrl(dialog.GetDlgItem(1018));
  press(d, Key::Backspace);
  EXPECT_EQ(GetDlgItem(d, 1018)->text, "");
  for (char c : std::string("1.55i")) press(d, Key::Char, c);
  press(d, Key::Backspace);
  press(d, Key::Backspace);
  press(d, Key::Char, 'i');
  EXPECT_EQ(GetDlgItem(d, 1018)->text, "1.5i");
  EXPECT_EQ(dialog.IsDlgButtonChecked(1048), 0u);
  press(d, Key::AltChar, 'I');
  EXPECT_EQ(dialog.IsDlgButtonChecked(1048), 1u);
  // Enter away from a push button is OK: the exchange reads the controls.
  press(d, Key::Enter);
  EXPECT_TRUE(d->ended);
  EXPECT_EQ(d->result, IDOK);
  EXPECT_EQ(dialog.units, 3);
  EXPECT_STREQ(dialog.scale, "1.5i");
}

TEST_F(DialogTest, EscapeCancelsAndSlidersFollowArrows) {
  Shown dialog;
  script("");
  ASSERT_TRUE(dialog.Create(130));
  HWND d = dialog.m_hWnd;
  HWND slider = GetDlgItem(d, 1014);
  dialog.GotoDlgCtrl(CWnd::FromHandle(slider));
  SendMessageA(slider, TBM_SETPOS, TRUE, 20);
  press(d, Key::Right);
  press(d, Key::Right);
  press(d, Key::Left);
  EXPECT_EQ(slider->pos, 21);
  press(d, Key::Escape);
  EXPECT_TRUE(d->ended);
  EXPECT_EQ(d->result, IDCANCEL);
}
