// VRMLHELP: opens the help file beside the module at its table of contents.
#include "wrl_help.h"

#include "StdAfx.h"
#include "wrl_path.h"

void VRMLHELP() {
  const char* module = ads_getappname();
  if (!module) return;
  TextBuffer path = siblingPath(module, 3, "hlp");  // "vrml.arx" -> "vrml.hlp"
  WinHelpA(nullptr, path.get(), HELP_FINDER, 0);
}
