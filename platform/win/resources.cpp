// Modules' resources by handle, the string loader and the application object.
#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "afxwin.h"

namespace {

struct AttachedModule {
  HINSTANCE handle;
  const RcModuleResources* resources;
  CWinApp* app;  // the application object started for it, if any
};

std::vector<AttachedModule>& modules() {
  static std::vector<AttachedModule> list;
  return list;
}

// Application objects in construction order; the newest one without a
// module is the one the next attached module starts.
std::vector<CWinApp*>& apps() {
  static std::vector<CWinApp*> list;
  return list;
}

HINSTANCE g_resourceHandle = nullptr;

const AttachedModule* findModule(HINSTANCE handle) {
  for (const AttachedModule& m : modules())
    if (m.handle == handle) return &m;
  return nullptr;
}

}  // namespace

BOOL AfxAttachModule(HINSTANCE module, const RcModuleResources* resources) {
  if (!module || !resources || findModule(module)) return FALSE;
  CWinApp* app = nullptr;
  for (auto it = apps().rbegin(); it != apps().rend(); ++it) {
    if (!(*it)->m_hInstance) {
      app = *it;
      break;
    }
  }
  modules().push_back({module, resources, app});
  HINSTANCE previous = g_resourceHandle;
  g_resourceHandle = module;
  if (app) {
    app->m_hInstance = module;
    if (!app->InitInstance()) {
      app->m_hInstance = nullptr;
      modules().pop_back();
      g_resourceHandle = previous;
      return FALSE;
    }
  }
  return TRUE;
}

void AfxDetachModule(HINSTANCE module) {
  auto& list = modules();
  auto it = std::find_if(list.begin(), list.end(), [&](const AttachedModule& m) { return m.handle == module; });
  if (it == list.end()) return;
  CWinApp* app = it->app;
  if (app && std::find(apps().begin(), apps().end(), app) != apps().end()) {
    app->ExitInstance();
    app->m_hInstance = nullptr;
  }
  list.erase(it);
  if (g_resourceHandle == module) g_resourceHandle = list.empty() ? nullptr : list.back().handle;
}

HINSTANCE AfxGetResourceHandle() { return g_resourceHandle; }

void AfxSetResourceHandle(HINSTANCE module) { g_resourceHandle = module; }

const char* AfxFindStringResource(HINSTANCE module, UINT id) {
  const AttachedModule* m = findModule(module);
  if (!m || !m->resources->strings) return nullptr;
  for (size_t i = 0; i < m->resources->stringCount; ++i)
    if (m->resources->strings[i].id == id) return m->resources->strings[i].text;
  return nullptr;
}

const RcDialog* AfxFindDialogTemplate(HINSTANCE module, UINT id) {
  const AttachedModule* m = findModule(module);
  if (!m || !m->resources->dialogs) return nullptr;
  for (size_t i = 0; i < m->resources->dialogCount; ++i)
    if (m->resources->dialogs[i].id == static_cast<int>(id)) return &m->resources->dialogs[i];
  return nullptr;
}

extern "C" int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  const char* text = id <= 0xFFFF ? AfxFindStringResource(instance, id) : nullptr;
  if (!text) {
    buffer[0] = '\0';
    return 0;
  }
  int length = static_cast<int>(std::min<size_t>(std::strlen(text), static_cast<size_t>(size) - 1));
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
  return length;
}

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName), m_hInstance(nullptr) { apps().push_back(this); }

CWinApp::~CWinApp() {
  auto& list = apps();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  for (AttachedModule& m : modules())
    if (m.app == this) m.app = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

CWinApp* AfxGetApp() {
  for (const AttachedModule& m : modules())
    if (m.handle == g_resourceHandle && m.app) return m.app;
  return apps().empty() ? nullptr : apps().back();
}

const char* AfxGetAppName() {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pszAppName) return app->m_pszAppName;
  static std::string name;
  Dl_info info{};
  if (g_resourceHandle && dladdr(reinterpret_cast<void*>(g_resourceHandle), &info) && info.dli_fname) {
    name = info.dli_fname;
    name = name.substr(name.find_last_of('/') + 1);
    name = name.substr(0, name.find('.'));
    if (!name.empty()) return name.c_str();
  }
  return "arxhost";
}
