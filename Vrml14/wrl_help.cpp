// VRMLHELP: opens the help file beside the module at its table of contents.
#include "wrl_help.h"

#include <cstring>

#include "StdAfx.h"
#include "wrl_scope.h"

void VRMLHELP() {
  const char* module = ads_getappname();
  if (!module) return;
  size_t length = std::strlen(module);
  TextBuffer path(new char[length + 1]);  // out of memory: the framework's error
  std::memcpy(path.get(), module, length + 1);
  // "vrml.arx" -> "vrml.hlp"
  if (length >= 3) std::memcpy(path.get() + length - 3, "hlp", 3);
  WinHelpA(nullptr, path.get(), HELP_FINDER, 0);
}
