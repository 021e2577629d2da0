// Loading modules into the host and unloading them again, with the messages
// of their lifecycle in the order modules rely on.
#include "acad/arx_loader.h"

#include <dlfcn.h>

#include <filesystem>
#include <memory>

#include "acad/apps.h"
#include "acad/command_stack.h"
#include "acad/lisp_functions.h"

namespace acad::arx {
namespace {

std::vector<std::unique_ptr<acad::apps::App>>& apps() {
  static std::vector<std::unique_ptr<acad::apps::App>> loadedApps;
  return loadedApps;
}

bool g_drawingOpen = true;  // the host always has a drawing, unnamed at first

std::string stem(const std::string& fileName) { return std::filesystem::path(fileName).stem().string(); }

acad::apps::App* find(const std::string& name) {
  std::string key = acad::commands::folded(name);
  std::string keyFile = acad::commands::folded(std::filesystem::path(name).filename().string());
  for (auto& app : apps()) {
    if (acad::commands::folded(app->path) == key || acad::commands::folded(app->name) == keyFile ||
        acad::commands::folded(stem(app->name)) == keyFile)
      return app.get();
  }
  return nullptr;
}

template <typename Fn>
Fn symbol(void* library, const char* name) {
  return reinterpret_cast<Fn>(dlsym(library, name));
}
}  // namespace

support::Status load(const std::string& path) {
  std::error_code ignored;
  std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
  if (absolute.empty() || !std::filesystem::is_regular_file(absolute, ignored))
    return support::Status::failure("cannot find " + path);
  if (find(absolute.string()) || find(absolute.filename().string()))
    return support::Status::failure(absolute.filename().string() + " is already loaded");
  void* library = dlopen(absolute.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) return support::Status::failure(std::string("cannot load ") + path + ": " + dlerror());
  auto entryPoint = symbol<AcRxEntryPointFn>(library, "acrxEntryPoint");
  auto apiVersion = symbol<AcRxGetApiVersionFn>(library, "acrxGetApiVersion");
  auto setPtp = symbol<AcRxSetPtpFn>(library, "_SetacrxPtp");
  std::string problem;
  if (!entryPoint) problem = "missing acrxEntryPoint";
  else if (!apiVersion) problem = "missing acrxGetApiVersion";
  else if (!setPtp) problem = "missing _SetacrxPtp";
  else if (apiVersion() != kAcRxApiVersion) problem = "incompatible interface version";
  if (!problem.empty()) {
    dlclose(library);
    return support::Status::failure("not an ARX application: " + problem);
  }
  auto app = std::make_unique<acad::apps::App>();
  app->path = absolute.string();
  app->name = absolute.filename().string();
  app->library = library;
  app->entryPoint = entryPoint;
  acad::apps::App& record = *app;
  apps().push_back(std::move(app));
  {
    acad::apps::Scope scope(&record);
    setPtp(nullptr);
  }
  acad::apps::send(record, AcRx::kInitAppMsg);
  if (g_drawingOpen) acad::apps::send(record, AcRx::kLoadDwgMsg);
  return {};
}

support::Status unload(const std::string& name) {
  acad::apps::App* app = find(name);
  if (!app) return support::Status::failure(name + " is not loaded");
  if (!app->unlocked) return support::Status::failure(app->name + " is locked and cannot be unloaded");
  // Unmapping a module whose code is on the stack would pull the code away
  // from under it.
  if (app->active > 0) return support::Status::failure(app->name + " is busy and cannot be unloaded");
  if (g_drawingOpen) acad::apps::send(*app, AcRx::kUnloadDwgMsg);
  acad::apps::send(*app, AcRx::kUnloadAppMsg);
  // Nothing may point into the module once it is gone.
  acad::commands::forgetApplication(app);
  acad::lisp_functions::forgetApplication(app);
  dlclose(app->library);
  std::erase_if(apps(), [&](const auto& held) { return held.get() == app; });
  return {};
}

std::vector<std::string> loaded() {
  std::vector<std::string> names;
  for (const auto& app : apps()) names.push_back(app->name);
  return names;
}

std::string pathOf(const std::string& name) {
  const acad::apps::App* app = find(name);
  return app ? app->path : std::string();
}

void* application(const std::string& name) { return find(name); }

bool isUnlocked(const std::string& name) {
  const acad::apps::App* app = find(name);
  return app && app->unlocked;
}

void drawingOpened() {
  g_drawingOpen = true;
  for (auto& app : apps()) acad::apps::send(*app, AcRx::kLoadDwgMsg);
}

void drawingClosed() {
  for (auto& app : apps()) acad::apps::send(*app, AcRx::kUnloadDwgMsg);
  g_drawingOpen = false;
}

bool drawingOpen() { return g_drawingOpen; }

void unloadAll() {
  while (!apps().empty()) {
    acad::apps::App& last = *apps().back();
    last.unlocked = true;  // the host's shutdown ends every application
    // Unlocked, a module is refused only while its own code runs, and the
    // shutdown does not start from inside a module.
    static_cast<void>(unload(last.path));
  }
}

}  // namespace acad::arx
