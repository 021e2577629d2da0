// Demand-load registrations and the look-up by command name.
#include "acad/demand_load.h"

#include <cstring>

#include "acad/arx_loader.h"
#include "acad/command_stack.h"
#include "acad/console.h"
#include "acad/host_commands.h"
#include "acrx.h"
#include "winreg.h"

namespace acad::demand_load {
namespace {

const char kRootPrefix[] = "\\HKEY_LOCAL_MACHINE\\";

std::vector<Registration>& recorded() {
  static std::vector<Registration> list;
  return list;
}

std::string applicationsKey() { return std::string(acrxProductKey()) + "\\Applications"; }

// An open key that closes itself.
class Key {
 public:
  Key(const std::string& path, REGSAM access) {
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &m_key) != ERROR_SUCCESS) m_key = nullptr;
  }
  ~Key() {
    if (m_key) RegCloseKey(m_key);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  explicit operator bool() const { return m_key != nullptr; }
  HKEY handle() const { return m_key; }

  std::string text(const char* name) const {
    char buffer[1024];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    if (RegQueryValueExA(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ || size == 0)
      return "";
    return std::string(buffer, strnlen(buffer, size));
  }

  DWORD number(const char* name) const {
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegQueryValueExA(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
      return 0;
    return value;
  }

 private:
  HKEY m_key = nullptr;
};

// True when a value of the key is named, or holds, the command.
bool listsCommand(const Key& commands, const std::string& folded) {
  char name[256];
  BYTE data[256];
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof name;
    DWORD dataSize = sizeof data - 1;
    DWORD type = 0;
    if (RegEnumValueA(commands.handle(), i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
      return false;
    data[dataSize] = 0;
    if (acad::commands::folded(name) == folded) return true;
    if (type == REG_SZ && acad::commands::folded(reinterpret_cast<char*>(data)) == folded) return true;
  }
}

bool writeApplicationKey(const Registration& registration) {
  HKEY key = nullptr;
  std::string path = applicationsKey() + "\\" + registration.logicalName;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE, KEY_WRITE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  DWORD reasons = static_cast<DWORD>(registration.reasons);
  std::string regPath = kRootPrefix + registration.registryPath + "\\" + registration.logicalName;
  bool written = RegSetValueExA(key, "LOADCTRLS", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&reasons),
                                sizeof reasons) == ERROR_SUCCESS &&
                 RegSetValueExA(key, "REGPATH", 0, REG_SZ, reinterpret_cast<const BYTE*>(regPath.c_str()),
                                static_cast<DWORD>(regPath.size() + 1)) == ERROR_SUCCESS;
  RegCloseKey(key);
  return written;
}

}  // namespace

const std::vector<Registration>& registrations() { return recorded(); }

bool loadForCommand(const std::string& command) {
  std::string folded = acad::commands::folded(acad::host_commands::baseName(command));
  Key applications(applicationsKey(), KEY_READ);
  if (!applications || folded.empty()) return false;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(applications.handle(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return false;
    Key application(applicationsKey() + "\\" + name, KEY_READ);
    std::string regPath = application.text("REGPATH");
    if (!(application.number("LOADCTRLS") & AcadApp::kOnCommandInvocation) || regPath.rfind(kRootPrefix, 0) != 0)
      continue;
    regPath.erase(0, std::strlen(kRootPrefix));
    Key commands(regPath + "\\Commands", KEY_READ);
    if (!commands || !listsCommand(commands, folded)) continue;
    std::string module = Key(regPath + "\\Loader", KEY_READ).text("MODULE");
    if (module.empty() || !acad::arx::pathOf(module).empty()) continue;
    support::Status loaded = acad::arx::load(module);
    if (loaded.ok()) return true;
    acad::console::write("\nUnable to load " + module + ": " + loaded.message() + ".");
    return false;
  }
}

}  // namespace acad::demand_load

bool acrxRegisterApp(AcadApp::LoadReasons reasons, const char* logicalName, const char* registryPath,
                     int registryKeyIndex) {
  if (!logicalName || !*logicalName || !registryPath) return false;
  acad::demand_load::Registration registration{reasons, logicalName, registryPath, registryKeyIndex};
  auto& list = acad::demand_load::recorded();
  std::erase_if(list, [&](const auto& r) {
    return acad::commands::folded(r.logicalName) == acad::commands::folded(logicalName);
  });
  list.push_back(registration);
  return acad::demand_load::writeApplicationKey(registration);
}
