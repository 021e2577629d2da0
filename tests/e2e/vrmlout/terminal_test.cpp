// VRMLOUT as a person runs it: arxhost in a real terminal (tmux), the options
// dialog drawn on the screen, an access key choosing the unit, Enter exporting.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "../../platform/dxf/dxf_test_support.h"
#include "../host/run_host.h"

namespace {

class Terminal {
 public:
  explicit Terminal(const std::string& program) : m_name("vrmlout" + std::to_string(getpid())) {
    runCommand("tmux new-session -d -s " + m_name + " -x 100 -y 40 \"" + program + "; sleep 60\"");
  }
  ~Terminal() { runCommand("tmux kill-session -t " + m_name + " 2>/dev/null"); }
  void type(const std::string& keys) const { runCommand("tmux send-keys -t " + m_name + " " + keys); }
  // Waits up to ten seconds for `text` on the screen.
  bool shows(const std::string& text) const {
    for (int i = 0; i < 100; ++i) {
      if (runCommand("tmux capture-pane -p -t " + m_name).output.find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

 private:
  std::string m_name;
};

TEST(VrmloutTerminal, TheOptionsDialogIsDrawnAndKeysChooseAndExport) {
  dxf_test::ScratchDir scratch;
  std::string out = scratch.file("keys.wrl");
  Terminal terminal("ARXHOST_REGISTRY=" + scratch.file("registry.txt") + " '" + binPath("arxhost") + "' '" +
                    VRML_SOURCE_DIR + "/samples/showcase.dxf' --load '" + binPath("vrml.arx") + "'");
  ASSERT_TRUE(terminal.shows("Command:"));
  terminal.type("VRMLOUT Enter ALL Enter Enter '" + out + "' Enter");
  ASSERT_TRUE(terminal.shows("Meshcast options"));
  EXPECT_TRUE(terminal.shows("(*) Milimeter"));
  terminal.type("e");  // the access key of "M&eter"
  EXPECT_TRUE(terminal.shows("(*) Meter"));
  terminal.type("Enter");
  for (int i = 0; i < 100 && dxf_test::readFile(out).find("scaleFactor") == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_NE(dxf_test::readFile(out).find("\tscaleFactor 1.000000 1.000000 1.000000\n"), std::string::npos);
}

}  // namespace
