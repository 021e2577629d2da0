// Write to a temporary file in the same folder, make it durable, rename.
#include "dxf/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace dxf {
namespace {

// Permissions for the new file: those of the file it replaces, or what a
// newly created file would get.
mode_t modeFor(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// A file that may not be written is not replaced either: renaming over it
// needs only the folder's permission. Its mode bits count even for root.
bool readOnly(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

}  // namespace

bool replaceFile(const std::string& path, const std::function<bool(FileOutput&, std::string&)>& produce,
                 std::string& error) {
  if (readOnly(path)) {
    error = path + ": cannot save: the file is read-only";
    return false;
  }
  std::string pattern = path + ".saving-XXXXXX";
  std::vector<char> temp(pattern.begin(), pattern.end());
  temp.push_back('\0');
  int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = path + ": cannot save: " + std::strerror(errno);
    return false;
  }
  std::FILE* file = ::fdopen(fd, "wb");
  if (!file) {
    error = path + ": cannot save: " + std::strerror(errno);
    ::close(fd);
    ::unlink(temp.data());
    return false;
  }
  FileOutput out(file);
  std::string problem;
  bool ok = produce(out, problem);
  if (ok && !(out.flush() && std::fflush(file) == 0 && ::fchmod(fd, modeFor(path)) == 0 && ::fsync(fd) == 0)) {
    ok = false;
    problem = std::strerror(errno);
  }
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    problem = std::strerror(errno);
  }
  if (ok && ::rename(temp.data(), path.c_str()) != 0) {
    ok = false;
    problem = std::strerror(errno);
  }
  if (!ok) {
    ::unlink(temp.data());
    error = path + ": cannot save: " + problem;
  }
  return ok;
}

}  // namespace dxf
