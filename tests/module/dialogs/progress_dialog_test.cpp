// The progress window: counts, the bar's 16-bit range and Cancel.
#include <gmock/gmock.h>

#include "ProgressDlg.h"
#include "adslib.h"
#include "module_dialog_fixture.h"
#include "ui/presentation.h"

namespace {

HWND item(CWnd& dialog, int id) { return GetDlgItem(dialog.m_hWnd, id); }

std::string textOf(HWND window) {
  char buffer[100] = "";
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

}  // namespace

TEST_F(ModuleDialogTest, ProgressStartsAtZeroAndCountsEveryEntity) {
  script("");
  auto* dialog = new CProgressDlg(CWnd::FromHandle(adsw_acadMainWnd()));
  ASSERT_TRUE(dialog->Create());
  EXPECT_TRUE(IsWindowVisible(dialog->m_hWnd));
  EXPECT_EQ(textOf(dialog->m_hWnd), "Meshcast in progress");
  EXPECT_EQ(textOf(item(*dialog, IDCANCEL)), "Cancel");
  EXPECT_EQ(textOf(item(*dialog, 1042)), "0 object(s) converted.");
  EXPECT_EQ(textOf(item(*dialog, 1043)), "0 object(s) ignored.");
  dialog->setRange(5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(dialog->isCancelled(), 0);
    if (i == 1 || i == 3) dialog->addIgnored();
    else dialog->addConverted();
    dialog->step();
  }
  HWND bar = item(*dialog, 1041);
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 5);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 5);
  EXPECT_EQ(textOf(item(*dialog, 1042)), "3 object(s) converted.");
  EXPECT_EQ(textOf(item(*dialog, 1043)), "2 object(s) ignored.");
  dialog->DestroyWindow();
  delete dialog;
  std::string t = transcript();
  EXPECT_THAT(t, testing::HasSubstr("\n  1041 progress 5 (0..5)\n  1042 static \"3 object(s) converted.\"\n"
                                    "  1043 static \"2 object(s) ignored.\"\nDialog 139 closed"));
}

// The bar is a 16-bit control: for more entities than it can count, its
// range and position are scaled so that it fills once and never wraps.
TEST_F(ModuleDialogTest, ProgressBarFillsOnceWhateverTheCount) {
  script("");
  for (int count : {65535, 65536, 90000, 200001}) {
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create());
    HWND bar = item(dialog, 1041);
    dialog.setRange(count);
    LRESULT range = SendMessageA(bar, PBM_GETRANGE, FALSE, 0);
    EXPECT_GT(range, 0) << count;
    EXPECT_LE(range, 0xFFFF) << count;
    if (count <= 0xFFFF) {
      EXPECT_EQ(range, count) << "one entity, one step";
    }
    LRESULT last = SendMessageA(bar, PBM_GETPOS, 0, 0);
    EXPECT_EQ(last, 0) << count;
    int backwards = 0;
    for (int done = 1; done <= count; ++done) {
      dialog.step();
      LRESULT position = SendMessageA(bar, PBM_GETPOS, 0, 0);
      backwards += position < last;
      last = position;
      if (done == count / 2) {
        EXPECT_NEAR(position, range / 2, 1) << count;
      }
    }
    EXPECT_EQ(backwards, 0) << count;
    EXPECT_EQ(last, range) << count << " full at the last entity";
    dialog.DestroyWindow();
  }
}

TEST_F(ModuleDialogTest, ProgressCancelClosesAtOnceAndCountsGoOn) {
  // The second of four entities: Cancel arrives while it is faceted.
  script("at 2 cancel\n");
  auto* dialog = new CProgressDlg;
  ASSERT_TRUE(dialog->Create());
  dialog->setRange(4);
  int started = 0;
  for (int i = 0; i < 4 && !dialog->isCancelled(); ++i) {
    ++started;
    ui::pumpMessages();  // what the facetter does for each entity
    dialog->addConverted();
    dialog->step();
  }
  EXPECT_EQ(started, 2);
  EXPECT_EQ(dialog->isCancelled(), 1);
  EXPECT_EQ(dialog->m_hWnd, nullptr);  // the window went at once
  EXPECT_FALSE(dialog->DestroyWindow());
  delete dialog;
  std::string t = transcript();
  // The window showed one converted when Cancel closed it; the second
  // entity was still counted but touched no window.
  EXPECT_THAT(t, testing::HasSubstr("\n> at 2 cancel"));
  EXPECT_THAT(
      t, testing::HasSubstr(
             "\nat 2 cancel\n  1041 progress 1 (0..4)\n  1042 static \"1 object(s) converted.\"\nDialog 139 closed"));
}

// Counts are shown at most every few hundredths of a second, but the window
// never closes on stale ones: a loop that stops short of its range (an error,
// a shortage) still leaves the counts as they stand.
TEST_F(ModuleDialogTest, ProgressShowsTheCountsAsTheyStandWhenItCloses) {
  script("");
  auto* dialog = new CProgressDlg;
  ASSERT_TRUE(dialog->Create());
  dialog->setRange(10);
  for (int i = 0; i < 4; ++i) {
    if (i == 2) dialog->addIgnored();
    else dialog->addConverted();
    dialog->step();
  }
  dialog->DestroyWindow();
  delete dialog;
  std::string t = transcript();
  EXPECT_NE(t.find("\n  1041 progress 4 (0..10)\n  1042 static \"3 object(s) converted.\"\n"
                   "  1043 static \"1 object(s) ignored.\"\nDialog 139 closed"),
            std::string::npos)
      << t;
}
