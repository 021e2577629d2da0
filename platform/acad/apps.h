// The applications the host has loaded, and which of them is running now.
// Every call a module makes (ads_defun, addCommand, ads_getappname ...) is
// attributed to the application whose code the host entered last.
#pragma once
#include <string>

#include "acrx.h"

namespace acad::apps {

struct App {
  std::string path;  // as given to the loader, made absolute
  std::string name;  // file name, e.g. "vrml.arx"
  void* library = nullptr;
  AcRxEntryPointFn entryPoint = nullptr;
  bool unlocked = false;
  int active = 0;  // scopes of this application open now (its code is running)
};

// The application whose code runs now; null while the host runs its own.
App* current();

// Enters an application's code for the scope's lifetime (nests).
class Scope {
 public:
  explicit Scope(App* app);
  ~Scope();
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;

 private:
  App* m_previous;
};

// Delivers an application message inside the application's scope.
AcRx::AppRetCode send(App& app, AcRx::AppMsgCode msg);

}  // namespace acad::apps
