// The application object's ties to the host: registry entries for loading on
// demand, the menu group and toolbar, and the help file beside the module.
#include <gmock/gmock.h>

#include "ArxUtil.h"
#include "ZornVrml.h"
#include "acad/apps.h"
#include "acad/console.h"
#include "acad/demand_load.h"
#include "acad/host_commands.h"
#include "acad/menus.h"
#include "support/files.h"
#include "support/scratch_dir.h"
#include "win/registry_store.h"
#include "wrl_help.h"

namespace {

char g_moduleStandIn;  // its address serves as the module handle

short echo() {
  resbuf value{};
  EXPECT_EQ(ads_getvar("CMDECHO", &value), RTNORM);
  return value.resval.rint;
}

void setEcho(short on) {
  resbuf value{};
  value.restype = RTSHORT;
  value.resval.rint = on;
  ASSERT_EQ(ads_setvar("CMDECHO", &value), RTNORM);
}

// The module as the host runs it: loaded from `path`, its code entered.
class Application : public ::testing::Test {
 protected:
  void SetUp() override {
    win::registry::setFilePath(m_registry);
    constructModuleStatics();
    setModuleHandle(reinterpret_cast<HINSTANCE>(&g_moduleStandIn));
    attachModule();
    acad::menus::registerMenuCommands();
    acad::menus::unloadAll();
    m_app.path = std::string(VRML_BIN_DIR) + "/vrml.arx";
    m_app.name = "vrml.arx";
  }
  void TearDown() override {
    acad::menus::registerMenuCommands();
    acad::menus::unloadAll();
    setEcho(1);
    detachModule();
    destroyModuleStatics();
    win::registry::setFilePath("");
    win::registry::setReadOnly(false);
    win::registry::clearDenials();
  }
  std::string registryText() const { return test_support::readFile(m_registry); }
  static std::string appKey() { return std::string("HKEY_LOCAL_MACHINE\\") + acrxProductKey() + "\\FerolanApps"; }

  test_support::ScratchDir m_scratch;
  std::string m_registry = m_scratch.file("registry.txt");
  acad::apps::App m_app;
};

TEST_F(Application, DemandLoadEntriesAreWrittenAndTheAppRegistered) {
  {
    acad::apps::Scope scope(&m_app);
    vrmlApp().registerForDemandLoad();
  }
  std::string text = registryText();
  std::string commands = "[" + appKey() +
                         "\\Meshcast\\Commands]\n"
                         "\"VrmlOut\"=\"VrmlOut\"\n\"VrmlProp\"=\"VrmlProp\"\n"
                         "\"VrmlAbout\"=\"VrmlAbout\"\n\"VrmlHelp\"=\"VrmlHelp\"\n";
  std::string loader = "[" + appKey() + "\\Meshcast\\Loader]\n\"MODULE\"=\"" + m_app.path + "\"\n";
  std::string name = "[" + appKey() + "\\Meshcast\\Name]\n\"Meshcast\"=\"Meshcast\"\n";
  EXPECT_THAT(text, testing::HasSubstr(commands + loader + name));

  const acad::demand_load::Registration& registered = acad::demand_load::registrations().back();
  EXPECT_EQ(registered.reasons, 0x0C);
  EXPECT_EQ(registered.logicalName, "Meshcast");
  EXPECT_EQ(registered.registryPath, std::string(acrxProductKey()) + "\\FerolanApps");
  EXPECT_EQ(registered.keyIndex, 2);

  // Written again at every start-up, never doubled.
  {
    acad::apps::Scope scope(&m_app);
    vrmlApp().registerForDemandLoad();
  }
  EXPECT_EQ(registryText(), text);
}

TEST_F(Application, AReadOnlyRegistryStaysAsItWasAfterTheRegistration) {
  win::registry::setReadOnly(true);
  acad::apps::Scope scope(&m_app);
  vrmlApp().registerForDemandLoad();
  EXPECT_EQ(registryText(), "");
  EXPECT_EQ(acad::demand_load::registrations().back().logicalName, "Meshcast");
}

TEST_F(Application, ARefusedSubkeyCostsOnlyItsOwnValues) {
  win::registry::denyWrites(appKey() + "\\Meshcast\\Commands");
  {
    acad::apps::Scope scope(&m_app);
    vrmlApp().registerForDemandLoad();
  }
  std::string text = registryText();
  EXPECT_THAT(text, testing::Not(testing::HasSubstr("VrmlOut")));
  EXPECT_THAT(text, testing::HasSubstr("\"MODULE\"=\"" + m_app.path + "\""));
  EXPECT_THAT(text, testing::HasSubstr("\"Meshcast\"=\"Meshcast\""));
}

TEST_F(Application, LoadMenuLoadsTheGroupFloatsTheToolbarAndKeepsCmdecho) {
  for (short before : {1, 0, 1}) {
    setEcho(before);
    acad::console::beginCapture();
    {
      acad::apps::Scope scope(&m_app);
      EXPECT_EQ(vrmlApp().loadMenu(), 1);
    }
    EXPECT_EQ(acad::console::endCapture(), "") << "the commands run without echo";
    EXPECT_EQ(echo(), before);
    EXPECT_EQ(vrmlApp().isMenuLoaded(), 1);
    const acad::menus::ToolbarState* toolbar = acad::menus::toolbarState("vrml.TB_WRL");
    ASSERT_NE(toolbar, nullptr);
    EXPECT_TRUE(toolbar->shown && toolbar->floating);
    EXPECT_EQ(toolbar->x, 100);
    EXPECT_EQ(toolbar->y, 100);
    EXPECT_EQ(toolbar->rows, 1);
  }
}

// Stands in for the host's menu commands and records how they were run.
std::vector<std::string> g_ran;

acad::host_commands::Command recorder(const char* name) {
  return [name](acad::host_commands::Answers& answers) {
    std::string line = name;
    std::string answer;
    while (answers.next("", answer)) line += " " + answer;
    g_ran.push_back(line + " echo=" + std::to_string(echo()));
    return true;
  };
}

TEST_F(Application, LoadMenuRunsThreeCommandSequencesEachTime) {
  acad::host_commands::add("MENUUNLOAD", recorder("menuunload"));
  acad::host_commands::add("MENULOAD", recorder("menuload"));
  acad::host_commands::add("TOOLBAR", recorder("toolbar"));
  g_ran.clear();
  setEcho(1);
  {
    acad::apps::Scope scope(&m_app);
    vrmlApp().loadMenu();
    vrmlApp().loadMenu();
  }
  std::string menu = std::string(VRML_BIN_DIR) + "/vrml";
  std::vector<std::string> once = {"menuunload vrml echo=0", "menuload " + menu + " echo=0",
                                   "toolbar vrml.TB_WRL _float 100,100 1 echo=0"};
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(g_ran, twice);
  EXPECT_EQ(echo(), 1);

  g_ran.clear();
  EXPECT_EQ(vrmlApp().loadMenu(), 1) << "without a module path";
  EXPECT_TRUE(g_ran.empty());
}

TEST_F(Application, HelpOpensTheFileBesideTheModule) {
  acad::console::beginCapture();
  {
    acad::apps::Scope scope(&m_app);
    VRMLHELP();
  }
  std::string shown = acad::console::endCapture();
  EXPECT_THAT(shown, testing::StartsWith("\nMeshcast/AutoCAD Help - Contents\n"));
  EXPECT_THAT(shown, testing::HasSubstr("(vrml_getmaterial entity)"));

  m_app.path = m_scratch.file("elsewhere.arx");
  acad::console::beginCapture();
  {
    acad::apps::Scope scope(&m_app);
    VRMLHELP();
  }
  EXPECT_EQ(acad::console::endCapture(), "\nHelp: cannot open help file \"" + m_scratch.file("elsewhere.hlp") + "\".");
}

}  // namespace
