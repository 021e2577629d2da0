// The command script that drives VRMLOUT in the host for a batch export.
#pragma once
#include <string>

#include "batch_options.h"

// The lines that answer VRMLOUT's prompts and its options dialog for the
// world file `output` in `units` (mm, cm, m, in or a scale factor). The file
// question gets its "Yes" only when the world file exists already.
std::string vrmloutScript(const BatchOptions& options, const std::string& output, const std::string& units,
                          bool outputExists);

// The world file's name as the file prompt completes it.
std::string withWorldExtension(const std::string& path);
