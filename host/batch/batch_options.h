// The command line of the batch export.
#pragma once
#include <string>
#include <vector>

struct BatchOptions {
  std::vector<std::string> drawings;  // drawings, and folders whose .dxf files are all taken
  std::string output;                 // the world file of a single drawing; beside it by default
  std::string outDir;                 // where the world files go, when not beside their drawings
  int jobs = 0;                       // exports side by side; 0: one per core
  bool vrml2 = false;
  std::string units;                   // mm, cm, m, in, or a scale factor; "" takes the drawing's $INSUNITS
  bool wcs = false;                    // leave points in world coordinates
  std::vector<std::string> selection;  // answers to "Select objects:"; ALL by default
  std::string preview;                 // a PNG picture of the world, when asked for
  std::string html;                    // a web page that shows the world, when asked for
  bool verbose = false;                // copy the host's transcript to standard output
  bool help = false;
};

// Parses the arguments; false with a one-line message when they make no sense.
bool parseBatchOptions(int argc, char** argv, BatchOptions& options, std::string& error);

// A problem with a --units value ("" when it is one the export takes): the
// scale must be finite, fit a single-precision float, and show as more than
// 0.000000 in the world file.
std::string unitsProblem(const std::string& units);

// The short usage, and the whole help text with every option and exit status.
extern const char* const kBatchUsage;
extern const char* const kBatchHelp;

// Exit statuses.
enum BatchStatus { kExported = 0, kExportFailed = 1, kBadArguments = 2, kPreviewFailed = 3 };  // 3: or the page
