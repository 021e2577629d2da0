#include "batch_options.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>

const char* const kBatchUsage =
    "usage: vrmlout DRAWING.dxf [OUT.wrl] [options]\n"
    "       vrmlout DRAWING.dxf|FOLDER... [--out-dir DIR] [-j N] [options]\n"
    "Try 'vrmlout --help' for more.\n";

const char* const kBatchHelp =
    "usage: vrmlout DRAWING.dxf [OUT.wrl] [options]\n"
    "       vrmlout DRAWING.dxf|FOLDER... [--out-dir DIR] [-j N] [options]\n"
    "\n"
    "Exports the 3D objects of DXF drawings to VRML world files by running the\n"
    "VRMLOUT command of the module in arxhost. A FOLDER stands for every .dxf file\n"
    "in it. Each world is written beside its drawing with the extension .wrl, or as\n"
    "OUT.wrl (one drawing only), or into --out-dir.\n"
    "\n"
    "options:\n"
    "  --vrml1              write VRML 1.0 (the default)\n"
    "  --vrml2              write VRML 2.0\n"
    "  --units U            drawing units: mm, cm, m, in (0.0254) or a scale factor\n"
    "                       (metres per drawing unit, 0.0000005 and above); by default\n"
    "                       the drawing's $INSUNITS, else mm\n"
    "  --wcs                leave points in world coordinates (no UCS transformation)\n"
    "  --select S           what to export: ALL, Last, a handle, or L=LAYER; may be\n"
    "                       repeated; ALL by default\n"
    "  --preview FILE.png   also render a picture of the world (one drawing only;\n"
    "                       needs view3dscene and xvfb-run)\n"
    "  --html PAGE.html     also write a web page that shows the world in any browser,\n"
    "                       viewer and world inside, links working (implies --vrml2;\n"
    "                       one drawing only)\n"
    "  --out-dir DIR        write the world files into DIR\n"
    "  -j N, --jobs N       run up to N exports side by side (default: one per core)\n"
    "  --verbose            show the host's whole transcript\n"
    "  -h, --help           show this text\n"
    "\n"
    "exit status:\n"
    "  0  every world file was written\n"
    "  1  an export failed (the reason is printed, one line per drawing)\n"
    "  2  bad arguments, or a drawing that does not exist\n"
    "  3  the world file was written but the preview or the page could not be made\n";

namespace {

bool isKeywordUnit(const std::string& units) { return units == "mm" || units == "cm" || units == "m" || units == "in"; }

bool takesDrawing(const std::string& name) {
  return name.size() > 4 && (name.ends_with(".dxf") || name.ends_with(".DXF"));
}

}  // namespace

std::string unitsProblem(const std::string& units) {
  if (isKeywordUnit(units)) return "";
  double scale = 0;
  auto [end, ec] = std::from_chars(units.data(), units.data() + units.size(), scale);
  if (ec == std::errc::result_out_of_range || (ec == std::errc() && std::isfinite(scale) && scale > FLT_MAX))
    return "--units " + units + " is too large for the world file's scale";
  if (ec != std::errc() || end != units.data() + units.size() || !std::isfinite(scale) || scale <= 0)
    return "--units takes mm, cm, m, in or a scale factor above 0, not " + units;
  char shown[32];
  std::snprintf(shown, sizeof shown, "%.6f", scale);
  if (std::string(shown) == "0.000000")
    return "--units " + units + " is too small: the world file would show a scale of 0.000000";
  return "";
}

bool parseBatchOptions(int argc, char** argv, BatchOptions& options, std::string& error) {
  std::vector<std::string> positional;
  bool vrml1Asked = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      into = argv[++i];
      return true;
    };
    std::string text;
    if (arg == "--vrml1" || arg == "--vrml2") {
      options.vrml2 = arg == "--vrml2";
      vrml1Asked = arg == "--vrml1";
    } else if (arg == "--wcs") {
      options.wcs = true;
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else if (arg == "-h" || arg == "--help") {
      options.help = true;
    } else if (arg == "--units") {
      if (!value(options.units)) return false;
      error = unitsProblem(options.units);
      if (!error.empty()) return false;
    } else if (arg == "--select") {
      if (!value(text)) return false;
      options.selection.push_back(text);
    } else if (arg == "--preview") {
      if (!value(options.preview)) return false;
    } else if (arg == "--html") {
      if (!value(options.html)) return false;
    } else if (arg == "--out-dir") {
      if (!value(options.outDir)) return false;
    } else if (arg == "-j" || arg == "--jobs") {
      if (!value(text)) return false;
      auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), options.jobs);
      if (ec != std::errc() || end != text.data() + text.size() || options.jobs < 1) {
        error = arg + " takes a number of exports above 0, not " + text;
        return false;
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else {
      positional.push_back(arg);
    }
  }
  if (options.help) return true;
  // The web viewer reads only VRML 2.0.
  if (!options.html.empty() && vrml1Asked) {
    error = "--html shows a VRML 2.0 world: leave out --vrml1";
    return false;
  }
  if (!options.html.empty()) options.vrml2 = true;
  // Two names of which the second is no drawing: the old form DRAWING OUT.
  if (positional.size() == 2 && takesDrawing(positional[0]) && !takesDrawing(positional[1]) &&
      !std::filesystem::is_directory(positional[1])) {
    options.output = positional[1];
    positional.pop_back();
  }
  if (positional.empty()) {
    error = "no drawing given";
    return false;
  }
  if (!options.output.empty() && !options.outDir.empty()) {
    error = "give either OUT.wrl or --out-dir, not both";
    return false;
  }
  options.drawings = positional;
  if (options.selection.empty()) options.selection.push_back("ALL");
  return true;
}
