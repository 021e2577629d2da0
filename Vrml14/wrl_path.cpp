#include "wrl_path.h"

#include <cstring>

TextBuffer siblingPath(const char* path, size_t cut, const char* ending) {
  size_t length = std::strlen(path);
  size_t kept = length > cut ? length - cut : 0;
  size_t added = std::strlen(ending);
  TextBuffer sibling(new char[kept + added + 1]);
  std::memcpy(sibling.get(), path, kept);
  std::memcpy(sibling.get() + kept, ending, added + 1);
  return sibling;
}
