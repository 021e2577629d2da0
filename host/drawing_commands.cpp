// Opening and saving the current drawing.
#include "drawing_commands.h"

#include <filesystem>

#include "acad/arx_loader.h"
#include "acad/console.h"
#include "acad/host_commands.h"
#include "acad/sysvars.h"
#include "drawing_file.h"

namespace {

using acad_host_commands::Answers;

void nameDrawing(const std::string& path) {
  std::filesystem::path absolute = std::filesystem::absolute(path);
  acad_sysvars::setHostString("DWGNAME", absolute.filename().string());
  acad_sysvars::setHostString("DWGPREFIX", absolute.parent_path().string() + "/");
}

bool saveAs(const std::string& path) {
  std::string error;
  if (!drawing_file::save(path, error)) {
    acad_console::write("\n" + error);
    return false;
  }
  nameDrawing(path);
  return true;
}

bool saveAsCommand(Answers& answers) {
  std::string current = drawing_file::currentPath();
  std::string path;
  if (!answers.next("\nSave drawing as <" + current + ">: ", path)) return false;
  if (path.empty()) path = current;
  if (path.empty()) {
    acad_console::write("\nNo file name given.");
    return false;
  }
  return saveAs(path);
}

bool saveCommand(Answers& answers) {
  if (drawing_file::currentPath().empty()) return saveAsCommand(answers);
  return saveAs(drawing_file::currentPath());
}

bool openCommand(Answers& answers) {
  std::string path;
  if (!answers.next("\nEnter name of drawing: ", path)) return false;
  return openDrawing(path);
}

}  // namespace

bool openDrawing(const std::string& path) {
  std::string error;
  if (!drawing_file::open(path, error)) {
    acad_console::write("\n" + error);
    return false;
  }
  if (!drawing_file::openNotice().empty()) acad_console::write("\n" + drawing_file::openNotice());
  nameDrawing(path);
  // The modules let go of the previous drawing and take up the new one.
  acad_arx::drawingClosed();
  acad_arx::drawingOpened();
  return true;
}

void registerDrawingCommands() {
  acad_host_commands::add("OPEN", openCommand);
  acad_host_commands::add("SAVE", saveCommand);
  acad_host_commands::add("SAVEAS", saveAsCommand);
}
