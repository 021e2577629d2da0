// VRMLPROP and VRMLABOUT (bodies to come).
#include "wrl_props.h"

#include "AboutDialog.h"

void VRMLPROP() {}

void VRMLABOUT() {
  CAboutDialog about;  // no parent window
  about.DoModal();     // OK or the close box; either ends it
}
