// The terminal presentation's finer points: labels on their control's line,
// Tab in reading order, slider and edit-box keys, dialogs larger than the
// terminal, and the keys of the command line.
#include <gmock/gmock.h>

#include "platform/win/dialog_fixture.h"
#include "ui/canvas.h"
#include "ui/line_editor.h"
#include "ui/terminal.h"
#include "ui/viewport.h"
#include "win/window.h"

using ui::terminal::Key;
using ui::terminal::KeyPress;
using ui::terminal::LineEnd;
using ui::terminal::LineKeys;

namespace {

void press(HWND dialog, Key key, char ch = 0) { ui::terminal::handleKey(dialog, KeyPress{key, ch}); }

// The row of the canvas that holds `text`, or -1.
int rowOf(const ui::Canvas& canvas, const std::string& text) {
  for (int r = 0; r < canvas.height; ++r)
    if (canvas.text[r].find(text) != std::string::npos) return r;
  return -1;
}

}  // namespace

TEST_F(DialogTest, LabelsStandOnTheLineOfTheirControlAndKeepTheirText) {
  script("");
  auto drawn = [](int templateId) {
    CDialog dialog;
    EXPECT_TRUE(dialog.Create(templateId));
    return ui::drawDialog(dialog.m_hWnd);
  };
  ui::Canvas c = drawn(130);
  ASSERT_NE(rowOf(c, "URL Link:"), -1);
  EXPECT_THAT(c.text[rowOf(c, "URL Link:")], testing::HasSubstr("URL Link:    [___")) << "the box on the same line";
  EXPECT_NE(rowOf(c, "Description: [___"), -1) << "the colon is kept";
  EXPECT_NE(rowOf(c, "Shininess:"), -1);
  EXPECT_EQ(rowOf(c, "Shininess:"), rowOf(c, "O---"));

  ui::Canvas a = drawn(129);
  for (const std::string& line : a.text) EXPECT_THAT(line, testing::Not(testing::HasSubstr("[icon")));
}

TEST_F(DialogTest, TabFollowsReadingOrderAndSlidersAndEditBoxesTakeTheirKeys) {
  CDialog dialog;
  script("");
  ASSERT_TRUE(dialog.Create(130));
  HWND d = dialog.m_hWnd;
  ASSERT_EQ(d->focus->id, IDOK);
  std::vector<int> visited;
  for (int i = 0; i < 7; ++i) {
    press(d, Key::Tab);
    visited.push_back(d->focus->id);
  }
  // The fields top to bottom, then the button column beside them.
  EXPECT_EQ(visited, (std::vector<int>{IDCANCEL, 1018, 1020, 1038, 1014, 1015, IDOK}));

  HWND shininess = GetDlgItem(d, 1014);
  dialog.GotoDlgCtrl(CWnd::FromHandle(shininess));
  SendMessageA(shininess, TBM_SETPOS, TRUE, 50);
  press(d, Key::PageDown);
  EXPECT_EQ(shininess->pos, 60);
  press(d, Key::PageUp);
  press(d, Key::PageUp);
  EXPECT_EQ(shininess->pos, 40);
  press(d, Key::End);
  EXPECT_EQ(shininess->pos, shininess->rangeMax);
  press(d, Key::PageDown);
  EXPECT_EQ(shininess->pos, shininess->rangeMax) << "never past the end";
  press(d, Key::Home);
  EXPECT_EQ(shininess->pos, shininess->rangeMin);

  // An edit box that takes the focus has its text selected: typing replaces it.
  HWND url = GetDlgItem(d, 1018);
  SetWindowTextA(url, "old.wrl");
  dialog.GotoDlgCtrl(CWnd::FromHandle(url));
  for (char c : std::string("new.wrl")) press(d, Key::Char, c);
  EXPECT_EQ(url->text, "new.wrl");
  press(d, Key::Tab);
  press(d, Key::BackTab);
  press(d, Key::Char, 'x');
  EXPECT_EQ(url->text, "x") << "back in the box, the text is selected again";
  ui::Canvas c = ui::drawDialog(d);
  ASSERT_GE(c.cursorRow, 0) << "the focused edit box shows a cursor";
  EXPECT_EQ(c.text[c.cursorRow][c.cursorCol - 1], 'x') << "right after its text";
}

TEST(Viewport, ADialogThatFitsKeepsItsMarginAndOneThatDoesNotKeepsTheFocusInSight) {
  ui::Canvas dialog;
  dialog.resize(40, 20);
  dialog.put(30, 15, "<OK>", 'r');  // the focus, low on the right
  ui::Placement roomy = ui::fitToTerminal(dialog, 40, 100);
  EXPECT_EQ(roomy.top, 2);
  EXPECT_EQ(roomy.left, 3);
  EXPECT_EQ(roomy.shown.text, dialog.text);

  ui::Placement tight = ui::fitToTerminal(dialog, 10, 30);
  ASSERT_EQ(tight.shown.height, 10);
  EXPECT_EQ(tight.shown.width, 30);
  EXPECT_NE(rowOf(tight.shown, "<OK>"), -1) << "the focused control is in sight";
  EXPECT_EQ(tight.shown.text[9].substr(0, 30), std::string("Enlarge the terminal to 40x21 "));
  for (const std::string& line : tight.shown.text) EXPECT_EQ(static_cast<int>(line.size()), 30);

  dialog.put(30, 15, "    ");
  dialog.put(1, 1, "<OK>", 'r');  // focus at the top left: shown from the start
  ui::Placement top = ui::fitToTerminal(dialog, 10, 30);
  EXPECT_EQ(rowOf(top.shown, "<OK>"), 1);
  EXPECT_EQ(top.shown.text[1].substr(1, 4), "<OK>");
}

TEST(LineKeys, KeysEditCancelAndEndTheLineAsACommandLineDoes) {
  auto typed = [](std::initializer_list<std::string> units, LineEnd& end) {
    LineKeys keys;
    std::string echo;
    for (const std::string& unit : units) {
      bool finished = keys.feed(unit, end);
      echo += keys.echo;
      if (finished) return keys.line + "|" + echo;
    }
    return std::string("unfinished");
  };
  LineEnd end;
  EXPECT_EQ(typed({"L", "I", "S", "X", "\x7f", "T", "\r"}, end), "LIST|LISX\b \bT\n");
  EXPECT_EQ(end, LineEnd::Entered);
  EXPECT_EQ(typed({"a", "\x1b[A", "\x1b[11;2~", "b", "\n"}, end), "ab|ab\n") << "other keys never reach the line";
  EXPECT_EQ(typed({"a", "\x1b"}, end), "a|a");
  EXPECT_EQ(end, LineEnd::Cancelled);
  EXPECT_EQ(typed({"a", "\x03"}, end), "a|a");
  EXPECT_EQ(end, LineEnd::Cancelled);
  EXPECT_EQ(typed({"a", "\x04", "\x15", "\x04"}, end), "|a\b \b") << "Ctrl+D ends only an empty line";
  EXPECT_EQ(end, LineEnd::Finished);
  EXPECT_EQ(typed({"\x1bOP"}, end), "HELP|HELP\n");
  EXPECT_EQ(end, LineEnd::Entered);
  EXPECT_EQ(typed({"\xc3", "\xa9", "\x7f", "e", "\r"}, end), "e|\xc3\xa9\b \be\n") << "a whole UTF-8 character goes";
}
