#include "batch_script.h"

namespace {

// Control ids of the options dialog.
constexpr int kUnitButtons[] = {1045, 1046, 1047, 1048, 1049};
constexpr int kScaleBox = 1018;
constexpr int kUcsBox = 1050;
constexpr int kVrml2Button = 1056;

// The dialog's Inch button scales by its historical 0.0394; "in" means the
// inch itself and goes through the Other box.
std::string unitActions(const std::string& units) {
  static const char* const kNames[] = {"mm", "cm", "m"};
  for (int i = 0; i < 3; ++i)
    if (units == kNames[i]) return "click " + std::to_string(kUnitButtons[i]) + "\n";
  std::string scale = units == "in" ? "0.0254" : units;
  return "click " + std::to_string(kUnitButtons[4]) + "\ntype " + std::to_string(kScaleBox) + " " + scale + "\n";
}

}  // namespace

std::string withWorldExtension(const std::string& path) {
  size_t slash = path.find_last_of('/');
  size_t dot = path.find_last_of('.');
  bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return hasExtension ? path : path + ".wrl";
}

std::string vrmloutScript(const BatchOptions& options, const std::string& output, const std::string& units,
                          bool outputExists) {
  // A world is made of the model: a drawing saved while a layout was current
  // would otherwise give its paper space to ALL.
  std::string script = "(setvar \"TILEMODE\" 1)\nVRMLOUT\n";
  for (const std::string& answer : options.selection) script += answer + "\n";
  script += "\n" + output + "\n";
  if (outputExists) script += "Yes\n";
  script += unitActions(units);
  if (options.wcs) script += "check " + std::to_string(kUcsBox) + " off\n";
  if (options.vrml2) script += "click " + std::to_string(kVrml2Button) + "\n";
  script += "ok\n";
  return script;
}
