// Opening and saving the current drawing as a DXF file, for the host.
#pragma once
#include <string>
#include <string_view>

#include "support/status.h"

namespace dxf {

// Reads a DXF file (text or binary) into a new drawing that becomes the
// current one. On failure the current drawing stays as it was and the
// message names the file and the line (the byte, in a binary file) and the
// fault.
support::Status open(const std::string& path);

// The same for a drawing already in memory; `path` names it in messages and
// becomes its path. The drawing keeps no reference to `bytes`.
support::Status openFromMemory(const std::string& path, std::string_view bytes);

// One line naming the file and what opening it repaired (table entries for
// names in use, missing owners, objects that dictionary entries name), for
// the user; "" when the drawing needed no repair. The next open replaces it.
const std::string& openNotice();

// Writes the current drawing to `path` in the format it was read in (binary
// stays binary), every tag as read except the extended data and the APPID
// entries that changed. The file is written beside `path` under another name
// and then renamed over it, so a failed save leaves the old file as it was.
support::Status save(const std::string& path);

// True when the current drawing changed since it was opened or last saved.
bool hasUnsavedChanges();

// The file the current drawing was last opened from or saved to ("" for a
// drawing made in code).
const std::string& currentPath();

}  // namespace dxf
