// The command line of the batch export.
#pragma once
#include <string>
#include <vector>

struct BatchOptions {
  std::string drawing;
  std::string output;                  // the world file; next to the drawing by default
  bool vrml2 = false;
  std::string units = "mm";            // mm, cm, m, in, or a scale factor
  bool wcs = false;                    // leave points in world coordinates
  std::vector<std::string> selection;  // answers to "Select objects:"; ALL by default
  std::string preview;                 // a PNG picture of the world, when asked for
  bool verbose = false;                // copy the host's transcript to standard output
};

// Parses the arguments; false with a message when they make no sense.
bool parseBatchOptions(int argc, char** argv, BatchOptions& options, std::string& error);

extern const char* const kBatchUsage;
