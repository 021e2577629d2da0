// A dialog drawn in a real terminal and driven by keys: the test runs itself
// a second time inside tmux as the program a person uses, sends keys to the
// pane and reads the screen back.
#include <gmock/gmock.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/win/dialog_fixture.h"
#include "support/process.h"
#include "support/scratch_dir.h"
#include "support/tmux_terminal.h"
#include "ui/presentation.h"

using namespace test_support;

namespace {

const char* const kDriverVariable = "VRML_TERMINAL_DRIVER";

class Units : public CDialog {
 public:
  Units() : CDialog(140) {}
  int units = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Radio(pDX, 1045, units); }
};

// The progress template with a Cancel that ends the work, as the export's.
class Progress : public CDialog {
 public:
  bool cancelled = false;
  void OnCancel() override {
    cancelled = true;
    DestroyWindow();
  }
};

// This test binary, only the named test, as the program a person uses.
std::string driver(const std::string& test, const std::string& resultFile) {
  std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  return std::string(kDriverVariable) + "=" + resultFile + " " + self + " --gtest_filter=DialogTest." + test;
}

// The driver's line of results, once it has written it (ten seconds at most).
std::string readResult(const std::string& path) {
  std::string result;
  for (int i = 0; i < 200 && result.empty(); ++i) {
    std::ifstream in(path);
    std::getline(in, result);
    if (result.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::remove(path.c_str());
  return result;
}

}  // namespace

TEST_F(DialogTest, TerminalDialogUnderTmux) {
  if (const char* resultFile = std::getenv(kDriverVariable)) {
    // The program side: show the dialog to the person at the terminal.
    acad::console::setInteractive(true);
    Units dialog;
    INT_PTR result = dialog.DoModal();
    std::ofstream(resultFile) << result << " " << dialog.units << "\n";
    return;
  }
  if (runCommand("command -v tmux").output.empty()) GTEST_SKIP() << "tmux is not installed";
  ScratchDir scratch;
  std::string resultFile = scratch.file("result");
  TmuxTerminal tmux(driver("TerminalDialogUnderTmux", resultFile));
  ASSERT_TRUE(tmux.shows("Meshcast options")) << tmux.screen();
  std::string screen = tmux.screen();
  EXPECT_THAT(screen, testing::HasSubstr("><    OK     >"));  // focus starts on OK
  EXPECT_THAT(screen, testing::HasSubstr("(*) Milimeter"));
  EXPECT_THAT(screen, testing::HasSubstr("[ ] Recalculate points to current UCS"));

  tmux.type("Tab");
  ASSERT_TRUE(tmux.shows(">[  Cancel   ]")) << tmux.screen();
  tmux.type("M-e");  // Alt+E: Meter
  ASSERT_TRUE(tmux.shows(">(*) Meter")) << tmux.screen();
  tmux.type("Down");  // the next of the group: Inch
  ASSERT_TRUE(tmux.shows(">(*) Inch")) << tmux.screen();
  EXPECT_THAT(tmux.screen(), testing::HasSubstr("( ) Meter"));
  tmux.type("Enter");

  EXPECT_EQ(readResult(resultFile), "1 3");  // OK, Inch
}

TEST_F(DialogTest, TerminalProgressBarLivesAndCancelsBetweenSteps) {
  if (const char* resultFile = std::getenv(kDriverVariable)) {
    acad::console::setInteractive(true);
    Progress dialog;
    ASSERT_TRUE(dialog.Create(139));
    HWND bar = GetDlgItem(dialog.m_hWnd, 1041);
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 400));
    SendMessageA(bar, PBM_SETSTEP, 1, 0);
    int done = 0;
    // The work: one step every 25 ms, the platform pumping before each.
    while (!dialog.cancelled && done < 400) {
      ui::pumpMessages();
      if (dialog.cancelled) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
      SendMessageA(bar, PBM_STEPIT, 0, 0);
      ++done;
    }
    dialog.DestroyWindow();
    std::ofstream(resultFile) << dialog.cancelled << " " << (done > 0 && done < 400) << "\n";
    return;
  }
  if (runCommand("command -v tmux").output.empty()) GTEST_SKIP() << "tmux is not installed";
  ScratchDir scratch;
  std::string resultFile = scratch.file("result");
  TmuxTerminal tmux(driver("TerminalProgressBarLivesAndCancelsBetweenSteps", resultFile));
  ASSERT_TRUE(tmux.shows("Meshcast in progress")) << tmux.screen();
  ASSERT_TRUE(tmux.shows("[###")) << tmux.screen();  // the bar moves while the work runs
  // Looked for until shown: the bar redraws every step, and one capture can
  // fall in the middle of a redraw.
  EXPECT_TRUE(tmux.shows(" of 400 ")) << tmux.screen();
  tmux.type("Escape");
  EXPECT_EQ(readResult(resultFile), "1 1");  // cancelled part of the way
}

TEST_F(DialogTest, TerminalMessageBoxTakesArrowsAndEnter) {
  if (const char* resultFile = std::getenv(kDriverVariable)) {
    acad::console::setInteractive(true);
    int first = MessageBoxA(nullptr, "Replace the file?", "Question", MB_YESNO | MB_ICONQUESTION);
    int second = MessageBoxA(nullptr, "Scale factor must be > 0", "Error", MB_ICONEXCLAMATION);
    std::ofstream(resultFile) << first << " " << second << "\n";
    return;
  }
  if (runCommand("command -v tmux").output.empty()) GTEST_SKIP() << "tmux is not installed";
  ScratchDir scratch;
  std::string resultFile = scratch.file("result");
  TmuxTerminal tmux(driver("TerminalMessageBoxTakesArrowsAndEnter", resultFile));
  ASSERT_TRUE(tmux.shows("Replace the file?")) << tmux.screen();
  EXPECT_THAT(tmux.screen(), testing::HasSubstr(">[ Yes ]  [ No ]"));
  tmux.type("Right");
  ASSERT_TRUE(tmux.shows("[ Yes ] >[ No ]")) << tmux.screen();
  tmux.type("Enter");
  ASSERT_TRUE(tmux.shows("Scale factor must be > 0")) << tmux.screen();
  tmux.type("Escape");  // a box with OK alone closes on Escape too
  EXPECT_EQ(readResult(resultFile), std::to_string(IDNO) + " " + std::to_string(IDOK));
}
