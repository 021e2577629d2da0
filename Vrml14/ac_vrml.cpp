// The library's exports: what the host calls to start, drive and stop the
// module.
#include "ArxUtil.h"
#include "ZornVrml.h"

extern "C" {

// Acts on the five application messages; every other code is ignored.
__attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg: initApplication(appId); break;
    case AcRx::kUnloadAppMsg: unloadApplication(); break;
    case AcRx::kLoadDwgMsg: defineFunctions(); break;
    case AcRx::kUnloadDwgMsg: undefineFunctions(); break;
    case AcRx::kInvkSubrMsg: invokeFunction(); break;
    default: break;
  }
  return AcRx::kRetOK;
}

__attribute__((visibility("default"))) int acrxGetApiVersion(void) { return kAcRxApiVersion; }

// Called once after the library is mapped and before the first message: the
// module's static objects, the application object among them, are built here
// rather than when the library is mapped.
__attribute__((visibility("default"))) void _SetacrxPtp(void*) { constructModuleStatics(); }
}
