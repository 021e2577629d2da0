#include "temp_file.h"

#include <stdlib.h>
#include <unistd.h>

std::string writeTempFile(const std::string& text, const std::string& suffix) {
  std::string name = "/tmp/vrmlout-XXXXXX" + suffix;
  int fd = mkstemps(name.data(), static_cast<int>(suffix.size()));
  if (fd < 0) return "";
  bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(fd);
  if (!written) {
    unlink(name.c_str());
    return "";
  }
  return name;
}
