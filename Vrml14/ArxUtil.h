// What stands between the host and the rest of the module: the command group,
// the AutoLISP function table, the framework's per-module start and stop.
#pragma once
#include <new>

#include "StdAfx.h"
#include "dbmain.h"

// The module's handle, recorded when the library is mapped.
HINSTANCE moduleHandle();
void setModuleHandle(HINSTANCE handle);

// The host's command stack from the system registry, or null.
AcEdCommandStack* commandStack();

void registerCommands();
void removeCommands();
void defineFunctions();
void undefineFunctions();
// Runs the handler of the function code the host asks for; RTERROR (with
// "Received nonexistent function code." through ads_fail) for any other code.
int invokeFunction();

// The framework's start and stop for this module's resources and dialogs.
void attachModule();
void detachModule();

// The steps of kInitAppMsg and kUnloadAppMsg.
void initApplication(void* appId);
void unloadApplication();

// Storage for one static object whose construction the module controls (see
// _SetacrxPtp). Constant-initialised, so mapping the library runs no code.
template <typename T>
class ModuleStatic {
 public:
  constexpr ModuleStatic() = default;
  void construct() {
    if (m_built) return;
    new (m_storage) T();
    m_built = true;
  }
  void destroy() {
    if (!m_built) return;
    get().~T();
    m_built = false;
  }
  T& get() { return *std::launder(reinterpret_cast<T*>(m_storage)); }
  bool built() const { return m_built; }

 private:
  alignas(T) unsigned char m_storage[sizeof(T)] = {};
  bool m_built = false;
};
