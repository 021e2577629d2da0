// Drawing-file writers: every record's tags, in order, as text or binary.
#pragma once
#include <string>

#include "db/database.h"
#include "dxf/file_output.h"

namespace dxf {

void writeAscii(const acdb_detail::Database& database, FileOutput& out);
// False with `problem` set when a value cannot take its code's binary form.
bool writeBinary(const acdb_detail::Database& database, bool byteCodes, FileOutput& out, std::string& problem);

}  // namespace dxf
