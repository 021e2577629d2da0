// Application messages, the system registry and the dynamic linker: what a
// loaded module sees of the host's run-time.
#pragma once
#include "acadstrc.h"
#include "rxobject.h"

namespace AcRx {
enum AppMsgCode {
  kNullMsg = 0,
  kInitAppMsg = 1,
  kUnloadAppMsg = 2,
  kLoadDwgMsg = 3,
  kUnloadDwgMsg = 4,
  kInvkSubrMsg = 5,
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
}  // namespace AcRx

// The three exports every module offers the host, with C linkage.
extern "C" {
typedef AcRx::AppRetCode (*AcRxEntryPointFn)(AcRx::AppMsgCode msg, void* appId);
typedef int (*AcRxGetApiVersionFn)(void);
typedef void (*AcRxSetPtpFn)(void* pointer);
}

// The host programming interface version a module must report.
constexpr int kAcRxApiVersion = 0xE0000;

// Named objects. The dictionary does not own what it holds.
class AcRxDictionary : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxDictionary);
  AcRxDictionary();
  ~AcRxDictionary() override;
  AcRxDictionary(const AcRxDictionary&) = delete;
  AcRxDictionary& operator=(const AcRxDictionary&) = delete;
  // Null when the key is absent. Keys are compared exactly.
  AcRxObject* at(const char* key) const;
  // Stores `object` under `key`; answers what was there before (or null).
  AcRxObject* atPut(const char* key, AcRxObject* object);
  AcRxObject* remove(const char* key);
  bool has(const char* key) const;

 private:
  struct Entries;
  Entries* m_entries;
};

// The host's registry of services: "DynamicLinker", "ACAD_REGISTERED_COMMANDS",
// "ClassDictionary" (class descriptors by class name).
AcRxDictionary* acrxSysRegistry();

// Loads and unloads modules; a module may only be unloaded once it unlocked
// itself.
class AcRxDynamicLinker : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxDynamicLinker);
  virtual bool unlockApplication(void* appId) const;
};

// The host's product key below HKEY_LOCAL_MACHINE.
const char* acrxProductKey();

namespace AcadApp {
enum LoadReasons {
  kOnProxyDetection = 0x01,
  kOnAutoCADStartup = 0x02,
  kOnCommandInvocation = 0x04,
  kOnLoadRequest = 0x08,
};
}

// Records an application for loading on demand; the host reads its commands
// and module path from the registry below `registryPath`.
bool acrxRegisterApp(AcadApp::LoadReasons reasons, const char* logicalName, const char* registryPath,
                     int registryKeyIndex);
