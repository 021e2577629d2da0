#include <gmock/gmock.h>
#include <sys/resource.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/files.h"
#include "support/scratch_dir.h"
#include "support/status_matchers.h"
#include "win/registry_store.h"
#include "winreg.h"

namespace {

class Registry : public testing::Test {
 protected:
  void SetUp() override { win::registry::setFilePath(m_file); }
  void TearDown() override {
    win::registry::setFilePath("");
    win::registry::setReadOnly(false);
    win::registry::clearDenials();
  }
  std::string contents() const { return test_support::readFile(m_file); }
  static LONG create(HKEY parent, const char* sub, HKEY* key, DWORD* disposition = nullptr) {
    return RegCreateKeyExA(parent, sub, 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key,
                           disposition);
  }
  static LONG setText(HKEY key, const char* name, const char* text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(std::strlen(text) + 1));
  }
  test_support::ScratchDir m_scratch;
  std::string m_file = m_scratch.file("registry.txt");
};

TEST_F(Registry, CreatedKeysAndStringValuesAreWrittenToTheFile) {
  HKEY app = nullptr;
  HKEY commands = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(create(HKEY_LOCAL_MACHINE, "Software\\Host\\Apps\\Demo", &app, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  ASSERT_EQ(create(app, "Commands", &commands), ERROR_SUCCESS);
  EXPECT_EQ(setText(commands, "DemoOut", "DemoOut"), ERROR_SUCCESS);
  EXPECT_EQ(setText(commands, "Quote", "say \"hi\" \\"), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(commands), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(app), ERROR_SUCCESS);
  EXPECT_EQ(contents(),
            "; arxhost registry\n"
            "[HKEY_LOCAL_MACHINE\\Software]\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Host]\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Host\\Apps]\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Host\\Apps\\Demo]\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Host\\Apps\\Demo\\Commands]\n"
            "\"DemoOut\"=\"DemoOut\"\n"
            "\"Quote\"=\"say \\\"hi\\\" \\\\\"\n");
}

TEST_F(Registry, ValuesReadBackWithTheirStoredLength) {
  HKEY key = nullptr;
  ASSERT_EQ(create(HKEY_LOCAL_MACHINE, "Software\\Demo\\Loader", &key), ERROR_SUCCESS);
  ASSERT_EQ(setText(key, "MODULE", "/opt/demo/vrml.arx"), ERROR_SUCCESS);
  const BYTE raw[] = {'a', 'b'};  // a string stored without its zero stays so
  ASSERT_EQ(RegSetValueExA(key, "Raw", 0, REG_SZ, raw, 2), ERROR_SUCCESS);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\demo\\LOADER", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0;
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "module", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, std::strlen("/opt/demo/vrml.arx") + 1);
  char text[64];
  DWORD small = 4;
  EXPECT_EQ(RegQueryValueExA(key, "MODULE", nullptr, &type, reinterpret_cast<BYTE*>(text), &small), ERROR_MORE_DATA);
  EXPECT_EQ(small, size);
  size = sizeof text;
  ASSERT_EQ(RegQueryValueExA(key, "MODULE", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, "/opt/demo/vrml.arx");
  size = sizeof text;
  ASSERT_EQ(RegQueryValueExA(key, "Raw", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 2u);
  EXPECT_THAT(contents(), testing::HasSubstr("\"Raw\"=hex(1):61,62\n"));
  EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegSetValueExA(key, "MODULE", 0, REG_SZ, raw, 2), ERROR_ACCESS_DENIED);  // opened for reading
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(Registry, CreatingAnExistingKeyOpensItAndSettingAgainReplacesInPlace) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(create(HKEY_LOCAL_MACHINE, "Software\\Again", &key), ERROR_SUCCESS);
  setText(key, "First", "1");
  setText(key, "Second", "2");
  RegCloseKey(key);
  ASSERT_EQ(create(HKEY_LOCAL_MACHINE, "software\\again", &key, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  setText(key, "FIRST", "one");
  RegCloseKey(key);
  EXPECT_THAT(contents(),
              testing::HasSubstr("[HKEY_LOCAL_MACHINE\\Software\\Again]\n\"First\"=\"one\"\n\"Second\"=\"2\"\n"));
}

TEST_F(Registry, ReadOnlyRegistryRefusesEveryChangeAndKeepsTheFile) {
  HKEY key = nullptr;
  ASSERT_EQ(create(HKEY_LOCAL_MACHINE, "Software\\Kept", &key), ERROR_SUCCESS);
  setText(key, "Value", "before");
  RegCloseKey(key);
  std::string before = contents();
  win::registry::setReadOnly(true);
  EXPECT_EQ(create(HKEY_LOCAL_MACHINE, "Software\\New", &key), ERROR_ACCESS_DENIED);
  EXPECT_EQ(create(HKEY_LOCAL_MACHINE, "Software\\Kept", &key), ERROR_ACCESS_DENIED);
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Kept", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(contents(), before);
}

TEST_F(Registry, ADeniedKeyCostsOnlyThatKey) {
  HKEY app = nullptr;
  HKEY sub = nullptr;
  win::registry::denyWrites("HKEY_LOCAL_MACHINE\\Software\\App\\Loader");
  ASSERT_EQ(create(HKEY_LOCAL_MACHINE, "Software\\App", &app), ERROR_SUCCESS);
  EXPECT_EQ(create(app, "Loader", &sub), ERROR_ACCESS_DENIED);
  ASSERT_EQ(create(app, "Name", &sub), ERROR_SUCCESS);
  EXPECT_EQ(setText(sub, "Name", "App"), ERROR_SUCCESS);
  RegCloseKey(sub);
  RegCloseKey(app);
  EXPECT_THAT(contents(), testing::Not(testing::HasSubstr("Loader")));
  EXPECT_THAT(contents(), testing::HasSubstr("[HKEY_LOCAL_MACHINE\\Software\\App\\Name]\n\"Name\"=\"App\"\n"));
}

TEST_F(Registry, BadHandlesAndMissingKeysAreRefused) {
  HKEY key = nullptr;
  int notAKey = 0;
  EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(&notAKey)), ERROR_INVALID_HANDLE);
  EXPECT_EQ(setText(reinterpret_cast<HKEY>(&notAKey), "x", "y"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Nowhere", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(create(HKEY_LOCAL_MACHINE, "Software\\Once", &key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
}

TEST_F(Registry, SubkeysAndValuesEnumerate) {
  HKEY key = nullptr;
  for (const char* name : {"Software\\Enum\\b", "Software\\Enum\\A", "Software\\Enum\\c\\deeper"}) {
    ASSERT_EQ(create(HKEY_LOCAL_MACHINE, name, &key), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Enum", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  setText(key, "zeta", "1");
  setText(key, "alpha", "2");
  std::string names;
  char name[32];
  DWORD size = sizeof name;
  for (DWORD i = 0; RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++i) {
    names += std::string(name, size) + ",";
    size = sizeof name;
  }
  EXPECT_EQ(names, "A,b,c,");
  names.clear();
  BYTE data[8];
  DWORD dataSize = sizeof data;
  for (DWORD i = 0; RegEnumValueA(key, i, name, &size, nullptr, nullptr, data, &dataSize) == ERROR_SUCCESS; ++i) {
    names += std::string(name) + "=" + reinterpret_cast<char*>(data) + ",";
    size = sizeof name;
    dataSize = sizeof data;
  }
  EXPECT_EQ(names, "zeta=1,alpha=2,");
  size = 1;
  EXPECT_EQ(RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  RegCloseKey(key);
}

TEST_F(Registry, MalformedLinesAreSkippedAndTheRestIsKept) {
  test_support::writeFile(m_file,
                          "[HKEY_LOCAL_MACHINE\\Software\\Read]\r\n"
                          "\"Good\"=\"yes\"\r\n"
                          "garbage without quotes\n"
                          "\"Bad\"=hex(1):zz\n"
                          "\"Bin\"=hex(3):00,ff\n");
  testing::internal::CaptureStderr();
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Read", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0;
  BYTE data[8];
  DWORD size = sizeof data;
  EXPECT_EQ(RegQueryValueExA(key, "Good", nullptr, &type, data, &size), ERROR_SUCCESS);
  EXPECT_STREQ(reinterpret_cast<char*>(data), "yes");
  size = sizeof data;
  EXPECT_EQ(RegQueryValueExA(key, "Bin", nullptr, &type, data, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_BINARY);
  EXPECT_EQ(size, 2u);
  EXPECT_EQ(data[1], 0xff);
  EXPECT_EQ(RegQueryValueExA(key, "Bad", nullptr, &type, data, &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
  std::string warnings = testing::internal::GetCapturedStderr();
  EXPECT_THAT(warnings, testing::HasSubstr(":3: malformed line ignored"));
  EXPECT_THAT(warnings, testing::HasSubstr(":4: malformed line ignored"));
}

}  // namespace

TEST_F(Registry, HostsSavingAtOnceLeaveOneWholeFileAndNoTemporaries) {
  auto treeOf = [](int host) {
    win::registry::Tree tree;
    for (int key = 0; key < 200; ++key)
      tree.create("HKEY_LOCAL_MACHINE\\Software\\Host" + std::to_string(host) + "\\Key" + std::to_string(key));
    return tree;
  };
  std::atomic<int> refused{0};
  std::vector<std::thread> hosts;
  for (int host = 0; host < 4; ++host)
    hosts.emplace_back([&, host] {
      win::registry::Tree tree = treeOf(host);
      for (int round = 0; round < 50; ++round)
        if (!win::registry::save(tree).ok()) ++refused;
    });
  for (std::thread& host : hosts) host.join();
  EXPECT_EQ(refused, 0);

  testing::internal::CaptureStderr();
  win::registry::Tree loaded = win::registry::load();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(loaded.keys().size(), treeOf(0).keys().size());
  auto entries = std::filesystem::directory_iterator(std::filesystem::path(m_file).parent_path());
  EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
}

TEST_F(Registry, ARefusedSaveSaysWhichStepFailedAndLeavesNoTrace) {
  using test_support::FailsWith;
  using testing::StartsWith;
  win::registry::Tree tree;
  tree.create("HKEY_LOCAL_MACHINE\\Software\\Kept");
  ASSERT_THAT(win::registry::save(tree), test_support::Succeeds());
  const std::string before = contents();
  for (int key = 0; key < 2000; ++key) tree.create("HKEY_LOCAL_MACHINE\\Software\\Lost" + std::to_string(key));

  const std::string underAFile = m_file + "/registry.txt";
  win::registry::setFilePath(underAFile);
  EXPECT_THAT(win::registry::save(tree),
              FailsWith("cannot create a registry file beside " + underAFile + ": Not a directory"));

  const std::string folder = m_scratch.file("folder");
  std::filesystem::create_directory(folder);
  win::registry::setFilePath(folder);
  EXPECT_THAT(win::registry::save(tree),
              FailsWith(StartsWith("cannot rename the new registry file to " + folder + ": ")));

  // A file-size limit stands in for a full disk.
  win::registry::setFilePath(m_file);
  struct rlimit unlimited;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &unlimited), 0);
  struct rlimit limited = unlimited;
  limited.rlim_cur = 1024;
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  support::Status written = win::registry::save(tree);
  ::setrlimit(RLIMIT_FSIZE, &unlimited);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_THAT(written, FailsWith("cannot write the registry file " + m_file));

  EXPECT_EQ(contents(), before);
  auto entries = std::filesystem::directory_iterator(m_scratch.path());
  EXPECT_EQ(std::distance(begin(entries), end(entries)), 2) << "the registry file and the folder alone";
}
