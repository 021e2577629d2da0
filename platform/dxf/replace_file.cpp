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

// "<path>: cannot save: <why>", the one failure of a save.
support::Status cannotSave(const std::string& path, const std::string& why) {
  return support::Status::failure(path + ": cannot save: " + why);
}

// What the failed system call that set errno says.
support::Status lastSystemError() { return support::Status::failure(std::strerror(errno)); }

}  // namespace

support::Status replaceFile(const std::string& path, const std::function<support::Status(FileOutput&)>& produce) {
  if (readOnly(path)) return cannotSave(path, "the file is read-only");
  std::string pattern = path + ".saving-XXXXXX";
  std::vector<char> temp(pattern.begin(), pattern.end());
  temp.push_back('\0');
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return cannotSave(path, std::strerror(errno));
  std::FILE* file = ::fdopen(fd, "wb");
  if (!file) {
    support::Status failed = cannotSave(path, std::strerror(errno));
    ::close(fd);
    ::unlink(temp.data());
    return failed;
  }
  FileOutput out(file);
  support::Status written = produce(out);
  if (written.ok() && !(out.flush() && std::fflush(file) == 0 && ::fchmod(fd, modeFor(path)) == 0 && ::fsync(fd) == 0))
    written = lastSystemError();
  if (std::fclose(file) != 0 && written.ok()) written = lastSystemError();
  if (written.ok() && ::rename(temp.data(), path.c_str()) != 0) written = lastSystemError();
  if (written.ok()) return {};
  ::unlink(temp.data());
  return cannotSave(path, written.message());
}

}  // namespace dxf
