// One drawing through VRMLOUT in the host: the world file, a summary line on
// standard output, or one line on standard error saying what went wrong.
#pragma once
#include <string>

#include "batch_options.h"

// Exports `drawing` to `output` with the options' answers; a BatchStatus.
// `showProgress` counts the converted objects on the terminal as they come.
int exportDrawing(const BatchOptions& options, const std::string& drawing, const std::string& output,
                  bool showProgress);
