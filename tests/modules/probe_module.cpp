// A small module for the loader's tests. It prints every application message
// it receives, registers one command and two AutoLISP functions, and answers
// the loader's questions wrongly when built to (PROBE_LOCKED: never unlocks;
// PROBE_OLD_API: reports another interface version; PROBE_NO_SETPTP: lacks
// _SetacrxPtp).
#include "aced.h"
#include "acrx.h"
#include "adslib.h"

#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

void probeCommand() { ads_printf("[probe command in %s]", ads_getappname() ? "module" : "host"); }

// Code 0 is reached through kInvkSubrMsg; code 1 has a handler of its own.
int directFunction() {
  ads_rett();
  return RSRSLT;
}

void invoke() {
  int code = ads_getfuncode();
  if (code == 0) {
    resbuf* args = ads_getargs();
    if (args && args->restype == RTSTR) ads_retstr(args->resval.rstring);
    else ads_retnil();
    return;
  }
  ads_fail("probe: unknown code");
}

AcEdCommandStack* commands() { return AcEdCommandStack::cast(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS")); }

}  // namespace

PROBE_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  ads_printf("[msg %d]", static_cast<int>(msg));
  switch (msg) {
    case AcRx::kInitAppMsg:
#ifdef PROBE_LOCKED
      (void)appId;
#else
      AcRxDynamicLinker::cast(acrxSysRegistry()->at("DynamicLinker"))->unlockApplication(appId);
#endif
      commands()->addCommand("Probe", "probecmd", "probecmd", ACRX_CMD::kModal, probeCommand);
      ads_queueexpr("(probe_echo \"queued\")");
      break;
    case AcRx::kLoadDwgMsg:
      ads_defun("probe_echo", 0);
      ads_defun("probe_direct", 1);
      ads_regfunc(directFunction, 1);
      ads_defun("probe_broken", 2);
      break;
    case AcRx::kInvkSubrMsg: invoke(); break;
    case AcRx::kUnloadAppMsg: commands()->removeGroup("Probe"); break;
    default: break;
  }
  return AcRx::kRetOK;
}

PROBE_EXPORT int acrxGetApiVersion() {
#ifdef PROBE_OLD_API
  return 0xD0000;
#else
  return kAcRxApiVersion;
#endif
}

#ifndef PROBE_NO_SETPTP
PROBE_EXPORT void _SetacrxPtp(void*) { ads_printf("[setptp]"); }
#endif
