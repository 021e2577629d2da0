// A dialog drawn in a real terminal and driven by keys: the test runs itself
// a second time inside tmux as the program a person uses, sends keys to the
// pane and reads the screen back.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "../win/dialog_fixture.h"

namespace {

const char* const kDriverVariable = "VRML_TERMINAL_DRIVER";

class Units : public CDialog {
 public:
  Units() : CDialog(140) {}
  int units = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Radio(pDX, 1045, units); }
};

std::string run(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    pclose(p);
  }
  return out;
}

class Tmux {
 public:
  explicit Tmux(const std::string& command) : m_name("dlg" + std::to_string(getpid())) {
    run("tmux new-session -d -s " + m_name + " -x 100 -y 40 '" + command + "' 2>&1");
  }
  ~Tmux() { run("tmux kill-session -t " + m_name + " 2>/dev/null"); }
  std::string screen() const { return run("tmux capture-pane -p -t " + m_name); }
  void keys(const std::string& keys) const { run("tmux send-keys -t " + m_name + " " + keys); }
  // Waits (up to five seconds) until the screen shows `text`.
  bool waitFor(const std::string& text) const {
    for (int i = 0; i < 100; ++i) {
      if (screen().find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

 private:
  std::string m_name;
};

}  // namespace

TEST_F(DialogTest, TerminalDialogUnderTmux) {
  if (const char* resultFile = std::getenv(kDriverVariable)) {
    // The program side: show the dialog to the person at the terminal.
    acad_console::setInteractive(true);
    Units dialog;
    INT_PTR result = dialog.DoModal();
    std::ofstream(resultFile) << result << " " << dialog.units << "\n";
    return;
  }
  if (run("command -v tmux").empty()) GTEST_SKIP() << "tmux is not installed";
  std::string resultFile = "/tmp/dialog_result_" + std::to_string(getpid());
  std::remove(resultFile.c_str());
  std::string self = run("readlink -f /proc/" + std::to_string(getpid()) + "/exe");
  self.erase(self.find_last_not_of('\n') + 1);
  Tmux tmux(std::string(kDriverVariable) + "=" + resultFile + " " + self +
            " --gtest_filter=DialogTest.TerminalDialogUnderTmux");
  ASSERT_TRUE(tmux.waitFor("Meshcast options")) << tmux.screen();
  std::string screen = tmux.screen();
  EXPECT_NE(screen.find("><    OK     >"), std::string::npos) << screen;  // focus starts on OK
  EXPECT_NE(screen.find("(*) Milimeter"), std::string::npos) << screen;
  EXPECT_NE(screen.find("[ ] Recalculate points to current UCS"), std::string::npos) << screen;

  tmux.keys("Tab");
  ASSERT_TRUE(tmux.waitFor(">[  Cancel   ]")) << tmux.screen();
  tmux.keys("M-e");  // Alt+E: Meter
  ASSERT_TRUE(tmux.waitFor(">(*) Meter")) << tmux.screen();
  tmux.keys("Down");  // the next of the group: Inch
  ASSERT_TRUE(tmux.waitFor(">(*) Inch")) << tmux.screen();
  EXPECT_NE(tmux.screen().find("( ) Meter"), std::string::npos);
  tmux.keys("Enter");

  std::string result;
  for (int i = 0; i < 100 && result.empty(); ++i) {
    std::ifstream in(resultFile);
    std::getline(in, result);
    if (result.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(result, "1 3");  // OK, Inch
  std::remove(resultFile.c_str());
}
