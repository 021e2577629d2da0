#include <gmock/gmock.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "acad/arx_loader.h"
#include "acad/demand_load.h"
#include "acrx.h"
#include "support/files.h"
#include "support/scratch_dir.h"
#include "win/registry_store.h"
#include "winreg.h"

namespace {

const std::string kAppsPath = std::string(acrxProductKey()) + "\\TestApps";

void setText(const std::string& keyPath, const char* name, const std::string& text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, const_cast<char*>(""), 0, KEY_WRITE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>(text.size() + 1)),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

class DemandLoad : public testing::Test {
 protected:
  void SetUp() override { win::registry::setFilePath(m_file); }
  void TearDown() override {
    testing::internal::CaptureStdout();
    acad::arx::unloadAll();
    testing::internal::GetCapturedStdout();
    win::registry::setFilePath("");
  }
  // The probe module registered as the module's start-up registers itself.
  void registerProbe(AcadApp::LoadReasons reasons, const std::string& module) {
    ASSERT_TRUE(acrxRegisterApp(reasons, "Probe", kAppsPath.c_str(), 2));
    setText(kAppsPath + "\\Probe\\Commands", "ProbeCmd", "ProbeCmd");
    setText(kAppsPath + "\\Probe\\Loader", "MODULE", module);
  }
  std::string contents() const { return test_support::readFile(m_file); }
  test_support::ScratchDir m_scratch;
  std::string m_file = m_scratch.file("registry.txt");
  const std::string m_probe = std::string(VRML_BIN_DIR) + "/probe.arx";
};

TEST_F(DemandLoad, RegistrationIsRecordedAndWrittenForTheNextRun) {
  registerProbe(static_cast<AcadApp::LoadReasons>(0x0C), m_probe);
  const auto& recorded = acad::demand_load::registrations();
  ASSERT_FALSE(recorded.empty());
  EXPECT_EQ(recorded.back().logicalName, "Probe");
  EXPECT_EQ(recorded.back().reasons, 0x0C);
  EXPECT_EQ(recorded.back().registryPath, kAppsPath);
  EXPECT_EQ(recorded.back().keyIndex, 2);
  // Backslashes inside quoted values are doubled in the file.
  std::string regPath = "\\HKEY_LOCAL_MACHINE\\" + kAppsPath + "\\Probe";
  std::string quotedRegPath;
  for (char c : regPath) quotedRegPath += c == '\\' ? std::string("\\\\") : std::string(1, c);
  std::string expected = "[HKEY_LOCAL_MACHINE\\" + std::string(acrxProductKey()) +
                         "\\Applications\\Probe]\n\"LOADCTRLS\"=hex(4):0c,00,00,00\n"
                         "\"REGPATH\"=\"" +
                         quotedRegPath + "\"\n";
  EXPECT_THAT(contents(), testing::HasSubstr(expected));
}

TEST_F(DemandLoad, AListedCommandLoadsItsModuleOnce) {
  registerProbe(static_cast<AcadApp::LoadReasons>(0x0C), m_probe);
  testing::internal::CaptureStdout();
  EXPECT_TRUE(acad::demand_load::loadForCommand("_.PROBECMD"));
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(acad::arx::loaded().size(), 1u);
  EXPECT_EQ(acad::arx::loaded()[0], "probe.arx");
  EXPECT_FALSE(acad::demand_load::loadForCommand("probecmd"));  // loaded already
  EXPECT_EQ(acad::arx::loaded().size(), 1u);
}

TEST_F(DemandLoad, UnlistedCommandsAndOtherLoadReasonsLoadNothing) {
  registerProbe(AcadApp::kOnLoadRequest, m_probe);
  EXPECT_FALSE(acad::demand_load::loadForCommand("probecmd"));
  registerProbe(AcadApp::kOnCommandInvocation, m_probe);
  EXPECT_FALSE(acad::demand_load::loadForCommand("line"));
  EXPECT_FALSE(acad::demand_load::loadForCommand(""));
  EXPECT_TRUE(acad::arx::loaded().empty());
}

TEST_F(DemandLoad, AMissingModuleIsReported) {
  registerProbe(AcadApp::kOnCommandInvocation, "/no/such/probe.arx");
  testing::internal::CaptureStdout();
  EXPECT_FALSE(acad::demand_load::loadForCommand("probecmd"));
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_THAT(out, testing::StartsWith("\nUnable to load /no/such/probe.arx: "));
  EXPECT_TRUE(acad::arx::loaded().empty());
}

TEST_F(DemandLoad, AReadOnlyRegistryStillRecordsTheRegistration) {
  win::registry::setReadOnly(true);
  EXPECT_FALSE(acrxRegisterApp(AcadApp::kOnCommandInvocation, "ReadOnlyApp", kAppsPath.c_str(), 2));
  win::registry::setReadOnly(false);
  EXPECT_EQ(acad::demand_load::registrations().back().logicalName, "ReadOnlyApp");
  EXPECT_FALSE(std::filesystem::exists(m_file));
}

}  // namespace
