#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "acad/menus.h"
#include "aced.h"
#include "adslib.h"
#include "support/scratch_dir.h"

namespace {

const std::string kShippedMenu = std::string(VRML_SOURCE_DIR) + "/Vrml14/res/vrml";

void setEcho(short value) {
  resbuf rb{};
  rb.restype = RTSHORT;
  rb.resval.rint = value;
  ASSERT_EQ(ads_setvar("CMDECHO", &rb), RTNORM);
}

class Menus : public testing::Test {
 protected:
  void SetUp() override {
    acad::menus::registerMenuCommands();
    acad::menus::unloadAll();
    setEcho(0);
  }
  void TearDown() override {
    acad::menus::unloadAll();
    setEcho(1);
  }
};

// Runs ads_command with the items as strings, returning its status and
// (when asked) what it printed.
template <typename... Items>
int commandStatus(std::string* printed, Items... items) {
  testing::internal::CaptureStdout();
  int status = std::apply([](auto... item) { return ads_command(item..., 0); },
                          std::tuple_cat(std::make_tuple(RTSTR, static_cast<const char*>(items))...));
  std::string out = testing::internal::GetCapturedStdout();
  if (printed) *printed = out;
  return status;
}

TEST(MenuFile, TheShippedMenuHasTheGroupAndTheToolbarOfFourCommands) {
  support::Result<acad::menus::MenuFile> read = acad::menus::readMenuFile(kShippedMenu + ".mnu");
  ASSERT_TRUE(read.ok()) << read.status().message();
  const acad::menus::MenuFile& menu = read.value();
  EXPECT_EQ(menu.group, "vrml");
  ASSERT_EQ(menu.toolbars.size(), 1u);
  EXPECT_EQ(menu.toolbars[0].name, "TB_WRL");
  std::string commands;
  for (const auto& button : menu.toolbars[0].buttons) commands += button.command + " ";
  EXPECT_EQ(commands, "VRMLOUT VRMLPROP VRMLHELP VRMLABOUT ");
  ASSERT_EQ(menu.pulldowns.size(), 1u);
  EXPECT_EQ(menu.pulldowns[0].items.size(), 4u);
}

TEST(MenuFile, MalformedFilesNameTheFileAndLine) {
  test_support::ScratchDir scratch;
  std::filesystem::path path = scratch.file("menu.mnu");
  auto refusal = [&](const std::string& text) {
    if (!text.empty()) std::ofstream(path, std::ios::binary) << text;
    support::Result<acad::menus::MenuFile> read = acad::menus::readMenuFile(path.string());
    EXPECT_FALSE(read.ok());
    return read.status().message();
  };
  EXPECT_EQ(refusal("group g\nfrobnicate\n"), path.string() + ":2: unknown keyword \"frobnicate\"");
  EXPECT_EQ(refusal("group g\nbutton \"B\" CMD\n"), path.string() + ":2: button outside a toolbar");
  EXPECT_EQ(refusal("group g\ntoolbar T \"unclosed\n"), path.string() + ":2: expected: toolbar NAME \"caption\"");
  EXPECT_EQ(refusal("group g\ntoolbar T \"t\"\nbutton \"B\"\n"),
            path.string() + ":3: expected: button \"label\" COMMAND");
  EXPECT_EQ(refusal("; only a comment\n"), path.string() + ": no menu group named");
  std::filesystem::remove(path);
  std::ofstream(path, std::ios::binary).close();
  EXPECT_EQ(refusal(""), path.string() + ": no menu group named");
  std::filesystem::remove(path);
  EXPECT_EQ(refusal(""), "cannot open menu file \"" + path.string() + "\"");
}

TEST_F(Menus, LoadToolbarAndUnloadAsTheModuleRunsThem) {
  std::string out;
  EXPECT_EQ(acedIsMenuGroupLoaded("vrml"), 0);
  EXPECT_EQ(commandStatus(&out, "_.menuload", kShippedMenu.c_str()), RTNORM);
  EXPECT_EQ(out, "");  // CMDECHO 0: nothing echoed
  EXPECT_EQ(acedIsMenuGroupLoaded("vrml"), 1);
  EXPECT_EQ(acedIsMenuGroupLoaded("VRML"), 1);
  ASSERT_NE(acad::menus::toolbarState("vrml.TB_WRL"), nullptr);
  EXPECT_FALSE(acad::menus::toolbarState("vrml.TB_WRL")->shown);

  EXPECT_EQ(commandStatus(&out, "_.toolbar", "vrml.TB_WRL", "_float", "100,100", "1"), RTNORM);
  const acad::menus::ToolbarState* state = acad::menus::toolbarState("VRML.tb_wrl");
  ASSERT_NE(state, nullptr);
  EXPECT_TRUE(state->shown);
  EXPECT_TRUE(state->floating);
  EXPECT_EQ(state->x, 100);
  EXPECT_EQ(state->y, 100);
  EXPECT_EQ(state->rows, 1);

  EXPECT_EQ(commandStatus(&out, "_.menuunload", "vrml"), RTNORM);
  EXPECT_EQ(acedIsMenuGroupLoaded("vrml"), 0);
  EXPECT_EQ(acad::menus::toolbarState("vrml.TB_WRL"), nullptr);
}

TEST_F(Menus, RealFaultsAreReportedEvenWithoutEcho) {
  std::string out;
  EXPECT_EQ(commandStatus(&out, "_.menuunload", "vrml"), RTERROR);
  EXPECT_EQ(out, "");  // nothing to unload is no fault worth showing without echo
  EXPECT_EQ(commandStatus(&out, "_.menuload", "/no/such/menu"), RTERROR);
  EXPECT_EQ(out, "\ncannot open menu file \"/no/such/menu.mnu\"");
  EXPECT_EQ(commandStatus(&out, "_.toolbar", "vrml.TB_WRL", "_float", "100,100", "1"), RTERROR);
  EXPECT_EQ(out, "\nToolbar \"vrml.TB_WRL\" not found.");
  ASSERT_EQ(commandStatus(nullptr, "_.menuload", kShippedMenu.c_str()), RTNORM);
  EXPECT_EQ(commandStatus(&out, "_.menuload", kShippedMenu.c_str()), RTERROR);
  EXPECT_EQ(out, "\nMenu group \"vrml\" is already loaded.");
}

TEST_F(Menus, EchoShowsPromptsAndOutcomes) {
  setEcho(1);
  std::string out;
  EXPECT_EQ(commandStatus(&out, "_.menuunload", "vrml"), RTERROR);
  EXPECT_EQ(out, "\nCommand: _.menuunload\nMenu group to unload: vrml\nMenu group \"vrml\" is not loaded.");
  ASSERT_EQ(commandStatus(&out, "_.menuload", kShippedMenu.c_str()), RTNORM);
  EXPECT_EQ(out, "\nCommand: _.menuload\nMenu file name: " + kShippedMenu + "\nMenu group \"vrml\" loaded.");
  ASSERT_EQ(commandStatus(&out, "_.toolbar", "TB_WRL", "Left", "0,40"), RTNORM);
  EXPECT_EQ(out,
            "\nCommand: _.toolbar\nToolbar name (or ALL): TB_WRL"
            "\nShow/Hide/Left/Right/Top/Bottom/Float <Show>: Left\nPosition <0,0>: 0,40");
  const acad::menus::ToolbarState* state = acad::menus::toolbarState("TB_WRL");
  EXPECT_EQ(state->dock, "Left");
  EXPECT_FALSE(state->floating);
  EXPECT_EQ(state->y, 40);
}

TEST_F(Menus, BadAnswersAreAskedAgainAndRunningOutCancels) {
  ASSERT_EQ(commandStatus(nullptr, "_.menuload", kShippedMenu.c_str()), RTNORM);
  std::string out;
  EXPECT_EQ(commandStatus(&out, "_.toolbar", "vrml.TB_WRL", "sideways", "H"), RTNORM);
  EXPECT_EQ(out, "\nInvalid option keyword.");
  EXPECT_FALSE(acad::menus::toolbarState("vrml.TB_WRL")->shown);
  EXPECT_EQ(commandStatus(&out, "_.toolbar", "vrml.TB_WRL", "F", "x,y", "5,6"), RTERROR);
  EXPECT_EQ(out, "\nInvalid point.");
  EXPECT_FALSE(acad::menus::toolbarState("vrml.TB_WRL")->shown);  // cancelled before the rows
  EXPECT_EQ(commandStatus(nullptr, "_.toolbar", "ALL", "Show"), RTNORM);
  EXPECT_TRUE(acad::menus::toolbarState("vrml.TB_WRL")->shown);
}

}  // namespace
