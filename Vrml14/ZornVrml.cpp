// The application object, held in static storage that _SetacrxPtp fills, so
// that nothing of the module is constructed when the library is mapped.
#include "ZornVrml.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "ArxUtil.h"
#include "res/resource.h"
#include "winreg.h"
#include "wrl_path.h"
#include "wrl_scope.h"

namespace {
constinit ModuleStatic<CVrmlApp> theApp;
}  // namespace

CVrmlApp& vrmlApp() { return theApp.get(); }

void constructModuleStatics() { theApp.construct(); }
void destroyModuleStatics() { theApp.destroy(); }
bool moduleStaticsBuilt() { return theApp.built(); }

CVrmlApp::CVrmlApp() : CWinApp(nullptr) {}

namespace {

const char kAppName[] = "Meshcast";

// A new text of `first` followed by `second`, or null when out of memory.
TextBuffer joined(const char* first, const char* second) {
  size_t length = std::strlen(first) + std::strlen(second) + 1;
  TextBuffer text(new (std::nothrow) char[length]);
  if (text) std::snprintf(text.get(), length, "%s%s", first, second);
  return text;
}

// Creates (or opens) a key for writing; null when it is not available.
OpenKey createKey(HKEY parent, const char* name) {
  char noClass[] = "";
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExA(parent, name, 0, noClass, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, &disposition) !=
      ERROR_SUCCESS)
    return nullptr;
  return OpenKey(key);
}

// A REG_SZ value; its stored length counts the terminating zero.
void writeText(HKEY key, const char* name, const char* text) {
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(std::strlen(text) + 1));
}

// The command names, value name and data each from the module's string table.
void writeCommands(HKEY appKey) {
  struct CommandValue {
    UINT name, data;
  };
  static constexpr CommandValue kCommands[] = {
      {IDS_REG_VRMLOUT, IDS_REG_VRMLOUT_DATA},
      {IDS_REG_VRMLPROP, IDS_REG_VRMLPROP_DATA},
      {IDS_REG_VRMLABOUT, IDS_REG_VRMLABOUT_DATA},
      {IDS_REG_VRMLHELP, IDS_REG_VRMLHELP_DATA},
  };
  OpenKey commands = createKey(appKey, "Commands");
  if (!commands) return;
  char name[300];
  char data[300];
  for (const CommandValue& command : kCommands) {
    if (LoadStringA(moduleHandle(), command.name, name, sizeof name) <= 0) name[0] = '\0';
    if (LoadStringA(moduleHandle(), command.data, data, sizeof data) <= 0) data[0] = '\0';
    writeText(commands.get(), name, data);
  }
}

void writeSubkeyText(HKEY appKey, const char* subkey, const char* name, const char* text) {
  OpenKey key = createKey(appKey, subkey);
  if (key) writeText(key.get(), name, text);
}

}  // namespace

void CVrmlApp::registerForDemandLoad() {
  TextBuffer appsKey = joined(acrxProductKey(), "\\FerolanApps");
  if (!appsKey) return;
  acrxRegisterApp(static_cast<AcadApp::LoadReasons>(AcadApp::kOnCommandInvocation | AcadApp::kOnLoadRequest), kAppName,
                  appsKey.get(), 2);
  TextBuffer appPath = joined(appsKey.get(), "\\Meshcast");
  if (!appPath) return;
  OpenKey appKey = createKey(HKEY_LOCAL_MACHINE, appPath.get());
  if (!appKey) return;
  writeCommands(appKey.get());
  const char* module = ads_getappname();
  writeSubkeyText(appKey.get(), "Loader", "MODULE", module ? module : "");
  writeSubkeyText(appKey.get(), "Name", kAppName, kAppName);
}

int CVrmlApp::isMenuLoaded() { return acedIsMenuGroupLoaded("vrml") == 1 ? 1 : 0; }

int CVrmlApp::loadMenu() {
  const char* module = ads_getappname();
  if (!module) return 1;
  // The menu file lies beside the module: its path without ".arx".
  TextBuffer menuPath = siblingPath(module, 4, "");

  resbuf savedEcho{};
  ads_getvar("CMDECHO", &savedEcho);
  resbuf quiet{};
  quiet.restype = RTSHORT;
  quiet.resval.rint = 0;
  ads_setvar("CMDECHO", &quiet);
  ads_command(RTSTR, "_.menuunload", RTSTR, "vrml", RTNONE);
  ads_command(RTSTR, "_.menuload", RTSTR, menuPath.get(), RTNONE);
  ads_command(RTSTR, "_.toolbar", RTSTR, "vrml.TB_WRL", RTSTR, "_float", RTSTR, "100,100", RTSTR, "1", RTNONE);
  ads_setvar("CMDECHO", &savedEcho);
  return 1;
}
