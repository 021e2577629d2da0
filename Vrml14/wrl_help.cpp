// VRMLHELP: opens the help file beside the module at its table of contents.
#include "wrl_help.h"

#include <cstring>
#include <new>

#include "StdAfx.h"

void VRMLHELP() {
  const char* module = ads_getappname();
  if (!module) return;
  size_t length = std::strlen(module);
  char* path = new (std::nothrow) char[length + 1];
  if (!path) return;
  std::memcpy(path, module, length + 1);
  // "vrml.arx" -> "vrml.hlp"
  if (length >= 3) std::memcpy(path + length - 3, "hlp", 3);
  WinHelpA(nullptr, path, HELP_FINDER, 0);
  delete[] path;
}
