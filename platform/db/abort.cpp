// The host's way out when it cannot go on.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "dbmain.h"

void acrx_abort(const char* format, ...) {
  std::fflush(stdout);
  std::fputs("\nINTERNAL ERROR: ", stderr);
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format ? format : "", args);
  va_end(args);
  std::fputs("\n", stderr);
  std::abort();
}
