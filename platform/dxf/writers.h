// Drawing-file writers: every record's tags, in order, as text or binary.
#pragma once
#include <string>

#include "db/database.h"
#include "dxf/file_output.h"

namespace dxf {

// Both false with `problem` set when the drawing cannot be written: records
// kept in the original file can no longer be read from it, or (binary) a
// value cannot take its code's binary form.
bool writeAscii(const db::Database& database, FileOutput& out, std::string& problem);
bool writeBinary(const db::Database& database, bool byteCodes, FileOutput& out, std::string& problem);

}  // namespace dxf
