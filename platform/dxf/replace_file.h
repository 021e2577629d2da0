// Replacing a file so that readers see either the old or the whole new one.
#pragma once
#include <functional>
#include <string>

#include "dxf/file_output.h"
#include "support/status.h"

namespace dxf {

// Runs `produce` on a new file beside `path` and renames it over `path`.
// When `produce` fails the new file is removed and `path` left untouched. A
// failure names the file and the cause.
support::Status replaceFile(const std::string& path, const std::function<support::Status(FileOutput&)>& produce);

}  // namespace dxf
