#include "preview.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace {

bool onPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/bin:/bin";
  for (size_t start = 0; start <= folders.size();) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string candidate = folders.substr(start, end - start) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

int runQuietly(const std::vector<std::string>& command) {
  pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    int nothing = ::open("/dev/null", O_WRONLY);
    if (nothing >= 0) {
      dup2(nothing, STDOUT_FILENO);
      dup2(nothing, STDERR_FILENO);
    }
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace

bool renderPreview(const std::string& world, const std::string& picture, std::string& error) {
  for (const char* program : {"view3dscene", "xvfb-run"}) {
    if (!onPath(program)) {
      error = std::string(program) + " is not installed (apt-get install view3dscene xvfb)";
      return false;
    }
  }
  // Without a viewpoint of its own the world is framed whole by the viewer,
  // whatever its scale.
  int status = runQuietly({"xvfb-run", "-a", "-s", "-screen 0 1024x768x24", "view3dscene", world,
                           "--geometry", "800x600", "--screenshot", "0", picture});
  struct stat info {};
  if (status != 0 || stat(picture.c_str(), &info) != 0 || info.st_size == 0) {
    error = "the viewer could not render " + world;
    return false;
  }
  return true;
}
