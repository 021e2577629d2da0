#include "preview.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "preview_world.h"
#include "temp_file.h"

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
  WorldBounds bounds;
  if (!readWorldBounds(world, bounds)) {
    error = "cannot read " + world;
    return false;
  }
  // The viewer looks at a world of its own that includes the export, so that
  // the export stays as written and the picture is framed whatever its scale.
  std::error_code ignored;
  std::string absolute = std::filesystem::absolute(world, ignored).string();
  std::string view = writeTempFile(previewWorld(absolute, bounds), ".wrl");
  if (view.empty()) {
    error = "cannot write a temporary file in /tmp";
    return false;
  }
  int status = runQuietly({"xvfb-run", "-a", "-s", "-screen 0 1024x768x24", "view3dscene", view, "--hide-extras",
                           "--geometry", "800x600", "--screenshot", "0", picture});
  unlink(view.c_str());
  struct stat info {};
  if (status != 0 || stat(picture.c_str(), &info) != 0 || info.st_size == 0) {
    error = "the viewer could not render " + world + " into " + picture;
    return false;
  }
  return true;
}
