// Replacing a file so that readers see either the old or the whole new one.
#pragma once
#include <functional>
#include <string>

#include "dxf/file_output.h"

namespace dxf {

// Runs `produce` on a new file beside `path` and renames it over `path`.
// `produce` returns false with a problem to give up; the new file is then
// removed and `path` left untouched. `error` names the file and the cause.
bool replaceFile(const std::string& path, const std::function<bool(FileOutput&, std::string&)>& produce,
                 std::string& error);

}  // namespace dxf
