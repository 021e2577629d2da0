// Printing to the command line, and the running application's path.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "acad/apps.h"
#include "acad/console.h"
#include "adslib.h"

extern "C" int ads_printf(const char* format, ...) {
  if (!format) return RTERROR;
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (length < 0) {
    va_end(again);
    return RTERROR;
  }
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, again);
  va_end(again);
  text.pop_back();
  acad::console::writeMessage(text);
  return RTNORM;
}

// The full path of the module whose code runs now; null for the host's own.
extern "C" const char* ads_getappname(void) {
  const acad::apps::App* app = acad::apps::current();
  return app ? app->path.c_str() : nullptr;
}
