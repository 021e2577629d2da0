// The file dialog of the command line: asks for a file name, adds the
// default extension, and for a new file asks before replacing one.
#include <strings.h>
#include <sys/stat.h>

#include <string>

#include "acad/console.h"
#include "acad/user_path.h"
#include "acadmem.h"
#include "adslib.h"
#include "win/window.h"

namespace {

constexpr int kNewFile = 1;  // flags bit: the name of a file to create

bool fileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The first extension of a list such as "wrl;vrml", without a leading dot.
std::string defaultExtension(const char* ext) {
  std::string e = ext ? ext : "";
  e = e.substr(0, e.find(';'));
  if (!e.empty() && e[0] == '.') e.erase(0, 1);
  return e;
}

std::string withExtension(std::string path, const std::string& ext) {
  size_t slash = path.find_last_of('/');
  size_t dot = path.find_last_of('.');
  bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  if (!hasExtension && !ext.empty()) path += "." + ext;
  return path;
}

bool isYes(const std::string& answer) {
  return strcasecmp(answer.c_str(), "y") == 0 || strcasecmp(answer.c_str(), "yes") == 0;
}

}  // namespace

extern "C" int ads_getfiled(const char* title, const char* defaultName, const char* ext, int flags, resbuf* result) {
  if (!result) return RTERROR;
  std::string extension = defaultExtension(ext);
  std::string fallback = defaultName ? defaultName : "";
  std::string prompt = "\n";
  prompt += title ? title : "File name";
  prompt += fallback.empty() ? ": " : " <" + fallback + ">: ";
  std::string answer;
  while (true) {
    if (!acad::console::readLine(prompt, answer)) return RTCAN;
    if (answer.empty()) answer = fallback;
    if (answer.empty()) return RTCAN;
    std::string path = withExtension(acad::files::expandHome(answer), extension);
    if (flags & kNewFile) {
      if (fileExists(path)) {
        std::string reply;
        if (!acad::console::readLine("\nA file named " + path + " already exists. Replace it? <N>: ", reply))
          return RTCAN;
        // Whatever the answer, the person learns what became of the file.
        acad::console::write(isYes(reply) ? "\n" + path + " will be replaced." : "\n" + path + " is kept.");
        if (!isYes(reply)) continue;
      }
    } else if (!fileExists(path)) {
      acad::console::write("\nCannot find " + path + ".");
      continue;
    }
    char* copy = acad__strdup(path.c_str());
    if (!copy) return RTERROR;
    if (flags & kNewFile) acad::files::noteFileToCreate(path);
    if (result->restype == RTSTR && result->resval.rstring) acad_free(result->resval.rstring);
    result->restype = RTSTR;
    result->resval.rstring = copy;
    return RTNORM;
  }
}

extern "C" HWND adsw_acadMainWnd(void) { return win::mainWindow(); }
