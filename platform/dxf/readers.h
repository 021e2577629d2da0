// Drawing-file readers: the bytes of a whole file to its records.
#pragma once
#include <functional>
#include <string_view>

#include "dxf/record_collector.h"

namespace dxf {

constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

// Each feeds every tag of `data` to `collector` and returns false at the
// first fault (collector.error() says where). The binary reader expects the
// data after the sentinel and reports whether codes take one byte or two.
// The text reader reports now and then how far it has read, so that the
// caller may drop those bytes from memory (records that keep their tags in
// the text read them from the file again).
// From `scanAheadFrom` bytes on, one thread finds the tags while the
// caller's builds the records from them; the outcome is the same.
using ReadProgress = std::function<void(size_t)>;
constexpr size_t kScanAheadFrom = 4 << 20;
bool readAscii(std::string_view data, RecordCollector& collector, const ReadProgress& progress = {},
               size_t scanAheadFrom = kScanAheadFrom);
bool readBinary(std::string_view data, RecordCollector& collector, bool& byteCodes);

// Checks that a value is what its group code says (finite real, integer).
// Empty when it is, else the problem.
std::string valueProblem(int code, std::string_view value);

}  // namespace dxf
