// The application object of the module.
#pragma once
#include "StdAfx.h"

// The one application object. It keeps no state of its own: its operations
// tie the module into the host's start-up, menus and demand loading.
class CVrmlApp : public CWinApp {
 public:
  CVrmlApp();

  // Records the application for loading on demand and writes its registry
  // entries.
  void registerForDemandLoad();
  // 1 when the menu group "vrml" is loaded in the host, else 0.
  int isMenuLoaded();
  // Loads the menu group from the menu file beside the module and floats the
  // toolbar; always 1.
  int loadMenu();
};

// The application object, once the module's statics are built.
CVrmlApp& vrmlApp();

// Builds the module's static objects (in _SetacrxPtp) and destroys them
// again (when the library is unmapped). Both may be called more than once.
void constructModuleStatics();
void destroyModuleStatics();
bool moduleStaticsBuilt();
