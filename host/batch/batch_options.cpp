#include "batch_options.h"

#include <charconv>
#include <cmath>

const char* const kBatchUsage =
    "usage: vrmlout DRAWING.dxf [OUT.wrl] [--vrml2] [--units mm|cm|m|in|SCALE] [--wcs]\n"
    "               [--select ALL|Last|HANDLE|L=LAYER]... [--preview FILE.png] [--verbose]\n";

namespace {

bool validUnits(const std::string& units) {
  if (units == "mm" || units == "cm" || units == "m" || units == "in") return true;
  double scale = 0;
  auto [end, ec] = std::from_chars(units.data(), units.data() + units.size(), scale);
  return ec == std::errc() && end == units.data() + units.size() && std::isfinite(scale) && scale > 0;
}

std::string replaceExtension(const std::string& path, const std::string& extension) {
  size_t slash = path.find_last_of('/');
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + extension;
  return path.substr(0, dot) + extension;
}

}  // namespace

bool parseBatchOptions(int argc, char** argv, BatchOptions& options, std::string& error) {
  std::vector<std::string> positional;
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
    if (arg == "--vrml2") {
      options.vrml2 = true;
    } else if (arg == "--wcs") {
      options.wcs = true;
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else if (arg == "--units") {
      if (!value(options.units)) return false;
      if (!validUnits(options.units)) {
        error = "--units takes mm, cm, m, in or a scale factor above 0, not " + options.units;
        return false;
      }
    } else if (arg == "--select") {
      std::string answer;
      if (!value(answer)) return false;
      options.selection.push_back(answer);
    } else if (arg == "--preview") {
      if (!value(options.preview)) return false;
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.empty() || positional.size() > 2) {
    error = positional.empty() ? "no drawing given" : "too many file names";
    return false;
  }
  options.drawing = positional[0];
  options.output = positional.size() == 2 ? positional[1] : replaceExtension(positional[0], ".wrl");
  if (options.selection.empty()) options.selection.push_back("ALL");
  return true;
}
