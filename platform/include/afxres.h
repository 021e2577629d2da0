// What a resource script of a framework application includes: the window
// constants and the framework's fixed ids.
#pragma once
#include "commctrl.h"
#include "winuser.h"

#define IDC_STATIC (-1)
#define VS_VERSION_INFO 1
#define LANG_NEUTRAL 0x00
#define LANG_ENGLISH 0x09
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_ENGLISH_US 0x01
#define VS_FF_DEBUG 0x00000001L
#define VS_FFI_FILEFLAGSMASK 0x0000003FL
#define VOS__WINDOWS32 0x00000004L
#define VFT_APP 0x00000001L
#define VFT_DLL 0x00000002L
#define VFT2_UNKNOWN 0x00000000L
