// A module's compiled resources: what the resource compiler makes of a
// resource script, and what the framework finds by module handle.
#pragma once
#include <cstddef>
#include <cstdint>

struct RcString {
  uint16_t id;
  const char* text;
};

struct RcControl {
  int id;                   // -1 for IDC_STATIC
  const char* windowClass;  // "BUTTON", "EDIT", "STATIC", "msctls_trackbar32", "msctls_progress32"
  const char* text;
  int x, y, cx, cy;  // dialog units
  uint32_t style;    // WS_*, BS_*, ES_*, SS_*, TBS_* as in the script
  uint32_t exStyle;
};

struct RcDialog {
  int id;
  const char* caption;
  const char* fontName;
  int fontSize;
  int x, y, cx, cy;
  uint32_t style;
  const RcControl* controls;
  size_t controlCount;
};

struct RcIcon {
  int id;
  const uint8_t* data;  // the icon file's bytes
  size_t size;
};

struct RcVersionString {
  const char* key;
  const char* value;
};

struct RcVersion {
  uint16_t fileVersion[4];
  uint16_t productVersion[4];
  const RcVersionString* strings;
  size_t stringCount;
};

struct RcModuleResources {
  const RcString* strings;
  size_t stringCount;
  const RcDialog* dialogs;
  size_t dialogCount;
  const RcIcon* icons;
  size_t iconCount;
  const RcVersion* version;  // null when the script has none
};
