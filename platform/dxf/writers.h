// Drawing-file writers: every record's tags, in order, as text or binary.
#pragma once
#include <string>

#include "db/database.h"
#include "dxf/file_output.h"
#include "support/status.h"

namespace dxf {

// Both fail when the drawing cannot be written: records kept in the original
// file can no longer be read from it, or (binary) a value cannot take its
// code's binary form.
support::Status writeAscii(const db::Database& database, FileOutput& out);
support::Status writeBinary(const db::Database& database, bool byteCodes, FileOutput& out);

}  // namespace dxf
