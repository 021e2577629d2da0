// Opening and saving the current drawing, and what happens to its changes
// when it is dropped.
#include "drawing_commands.h"

#include <filesystem>

#include "platform.h"

namespace {

using acad::host_commands::Answers;
using acad::host_commands::picks;

bool g_batch = false;

void nameDrawing(const std::string& path) {
  std::filesystem::path absolute = std::filesystem::absolute(path);
  acad::sysvars::setHostString("DWGNAME", absolute.filename().string());
  acad::sysvars::setHostString("DWGPREFIX", absolute.parent_path().string() + "/");
}

// A typed file name as the shell would take it: "~" is the home folder, and
// a name without the drawing extension gets it.
std::string drawingPath(std::string typed) {
  typed = acad::files::expandHome(typed);
  std::string lower = typed;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (!typed.empty() && !lower.ends_with(".dxf")) typed += ".dxf";
  return typed;
}

std::string shownName() {
  const std::string& path = dxf::currentPath();
  return path.empty() ? "the new drawing" : std::filesystem::path(path).filename().string();
}

bool saveAs(const std::string& path) {
  support::Status saved = dxf::save(path);
  if (!saved.ok()) {
    acad::console::write("\n" + saved.message());
    return false;
  }
  nameDrawing(path);
  acad::console::write("\nDrawing saved as " + std::filesystem::absolute(path).string() + ".");
  return true;
}

bool saveAsCommand(Answers& answers) {
  std::string current = dxf::currentPath();
  std::string path;
  if (!answers.next("\nSave drawing as <" + current + ">: ", path)) return false;
  path = path.empty() ? current : drawingPath(path);
  if (path.empty()) {
    acad::console::write("\nNo file name given.");
    return false;
  }
  return saveAs(path);
}

bool saveCommand(Answers& answers) {
  if (dxf::currentPath().empty()) return saveAsCommand(answers);
  return saveAs(dxf::currentPath());
}

bool openCommand(Answers& answers) {
  if (!mayDropDrawing(answers)) return false;
  std::string path;
  if (!answers.next("\nEnter name of drawing: ", path)) return false;
  path = drawingPath(path);
  if (!openDrawing(path)) return false;
  acad::console::write("\nOpened " + std::filesystem::absolute(path).string() + ".");
  return true;
}

// Begins a line unless the input's end already did.
std::string onNewLine(const std::string& text) { return (acad::console::atLineStart() ? "" : "\n") + text; }

void discarded() { acad::console::write(onNewLine("Changes to " + shownName() + " discarded.")); }

}  // namespace

bool openDrawing(const std::string& path) {
  support::Status opened = dxf::open(path);
  if (!opened.ok()) {
    acad::console::write("\n" + opened.message());
    return false;
  }
  if (!dxf::openNotice().empty()) acad::console::write("\n" + dxf::openNotice());
  nameDrawing(path);
  // The modules let go of the previous drawing and take up the new one.
  acad::arx::drawingClosed();
  acad::arx::drawingOpened();
  return true;
}

void neverAskToSave(bool batch) { g_batch = batch; }

bool mayDropDrawing(Answers& answers) {
  if (!dxf::hasUnsavedChanges()) return true;
  if (g_batch) {
    discarded();
    return true;
  }
  for (;;) {
    std::string answer;
    if (!answers.next(onNewLine("Save changes to " + shownName() + "? [Yes/No/Cancel] <Yes>: "), answer)) {
      // Nobody is left to answer: the changes cannot be kept.
      if (!acad::console::inputClosed()) return false;
      discarded();
      return true;
    }
    if (answer.empty() || picks(answer, "Yes")) return saveCommand(answers);
    if (picks(answer, "No")) {
      discarded();
      return true;
    }
    if (picks(answer, "Cancel")) return false;
    acad::console::write("\nInvalid option keyword.");
  }
}

void registerDrawingCommands() {
  acad::host_commands::add("OPEN", openCommand, "opens a DXF drawing in place of the current one");
  acad::host_commands::add("SAVE", saveCommand, "saves the drawing to its file");
  acad::host_commands::add("SAVEAS", saveAsCommand, "saves the drawing under another name");
}
