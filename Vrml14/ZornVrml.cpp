// The application object, held in static storage that _SetacrxPtp fills, so
// that nothing of the module is constructed when the library is mapped.
#include "ZornVrml.h"


#include "ArxUtil.h"

namespace {
constinit ModuleStatic<CVrmlApp> theApp;
}  // namespace

CVrmlApp& vrmlApp() { return theApp.get(); }

void constructModuleStatics() { theApp.construct(); }
void destroyModuleStatics() { theApp.destroy(); }
bool moduleStaticsBuilt() { return theApp.built(); }

CVrmlApp::CVrmlApp() : CWinApp(nullptr) {}

void CVrmlApp::registerForDemandLoad() {}

int CVrmlApp::isMenuLoaded() { return acedIsMenuGroupLoaded("vrml") == 1 ? 1 : 0; }

int CVrmlApp::loadMenu() { return 1; }
