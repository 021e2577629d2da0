// Registration of the module's commands and AutoLISP functions, their
// dispatch, and the steps of the application messages.
#include "ArxUtil.h"

#include "ZornVrml.h"
#include "message.h"
#include "rcdata.h"
#include "res/resource.h"
#include "wrl_api.h"
#include "wrl_help.h"
#include "wrl_menu.h"
#include "wrl_out.h"
#include "wrl_props.h"

// The module's compiled resource script.
extern const RcModuleResources vrmlResources;

namespace {

HINSTANCE s_moduleHandle = nullptr;
AcRxClass* s_commandStackClass = nullptr;  // fetched once, kept while loaded

const char* const kGroupName = "Vrml_Commands";

// Running out of memory ends the command or function that ran out, and the
// user is told; the framework's error never reaches the host.
void reportOutOfMemory(CMemoryException* error) {
  error->Delete();
  ads_printf("\nOut of memory.");
}

template <void (*command)()>
void commandReportingOutOfMemory() {
  try {
    command();
  } catch (CMemoryException* error) {
    reportOutOfMemory(error);
  }
}

// The host calls a registered function directly, so each one is guarded
// itself. One that runs out of memory answers nil, whatever it had set.
template <int (*function)()>
int functionReportingOutOfMemory() {
  try {
    return function();
  } catch (CMemoryException* error) {
    reportOutOfMemory(error);
    ads_retnil();
    return RSRSLT;
  }
}

struct FunctionEntry {
  const char* name;
  int (*handler)(void);
};

// An entry's index is its function code with the host.
const FunctionEntry functionTable[] = {
    {"vrml_wrlout", functionReportingOutOfMemory<vrml_wrlout>},
    {"vrml_geturl", functionReportingOutOfMemory<vrml_geturl>},
    {"vrml_getmaterial", functionReportingOutOfMemory<vrml_getmaterial>},
    {"vrml_init", functionReportingOutOfMemory<vrml_init>},
};
constexpr int kFunctionCount = static_cast<int>(sizeof functionTable / sizeof functionTable[0]);

struct CommandEntry {
  const char* name;  // global and local
  AcRxFunctionPtr handler;
};

const CommandEntry commandTable[] = {
    {"vrmlprop", commandReportingOutOfMemory<VRMLPROP>},
    {"vrmlout", commandReportingOutOfMemory<VRMLOUT>},
    {"vrmlabout", commandReportingOutOfMemory<VRMLABOUT>},
    {"vrmlhelp", commandReportingOutOfMemory<VRMLHELP>},
};

void unlockApplication(void* appId) {
  AcRxDynamicLinker* linker = AcRxDynamicLinker::cast(acrxSysRegistry()->at("DynamicLinker"));
  if (linker) linker->unlockApplication(appId);
}

}  // namespace

HINSTANCE moduleHandle() { return s_moduleHandle; }
void setModuleHandle(HINSTANCE handle) { s_moduleHandle = handle; }

AcEdCommandStack* commandStack() {
  if (!s_commandStackClass) {
    AcRxDictionary* classes = AcRxDictionary::cast(acrxSysRegistry()->at("ClassDictionary"));
    if (classes) s_commandStackClass = AcRxClass::cast(classes->at("AcEdCommandStack"));
  }
  AcRxObject* entry = acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS");
  if (!entry || !s_commandStackClass || !entry->isKindOf(s_commandStackClass)) return nullptr;
  return static_cast<AcEdCommandStack*>(entry);
}

void registerCommands() {
  for (const CommandEntry& command : commandTable)
    commandStack()->addCommand(kGroupName, command.name, command.name, ACRX_CMD::kModal, command.handler);
}

void removeCommands() { commandStack()->removeGroup(kGroupName); }

void defineFunctions() {
  for (int code = 0; code < kFunctionCount; ++code) {
    if (ads_defun(functionTable[code].name, static_cast<short>(code)) != RTNORM) return;
    if (ads_regfunc(functionTable[code].handler, code) != RTNORM) return;
  }
}

void undefineFunctions() {
  for (int code = 0; code < kFunctionCount; ++code) ads_undef(functionTable[code].name, static_cast<short>(code));
}

int invokeFunction() {
  int code = ads_getfuncode();
  if (code < 0 || code >= kFunctionCount) {
    ads_fail("Received nonexistent function code.");
    return RTERROR;
  }
  return functionTable[code].handler();
}

void attachModule() { AfxAttachModule(s_moduleHandle, &vrmlResources); }

void detachModule() { AfxDetachModule(s_moduleHandle); }

void initApplication(void* appId) {
  unlockApplication(appId);
  attachModule();
  registerCommands();
  vrmlApp().registerForDemandLoad();
  ads_printf(messageText(IDS_LOADED));
  if (vrmlApp().isMenuLoaded() != 1) ads_queueexpr("(vrml_init)");
}

void unloadApplication() {
  removeCommands();
  detachModule();
}
