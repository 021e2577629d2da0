// Binary drawing files: the sentinel, then each tag as code and typed value.
#include <cstdint>
#include <cstring>

#include "db/group_codes.h"
#include "db/number_text.h"
#include "db/record_build.h"
#include "dxf/readers.h"
#include "dxf/writers.h"

namespace dxf {
namespace {

template <typename T>
void putRaw(FileOutput& out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.put(std::string_view(bytes, sizeof(T)));
}

bool putChunk(FileOutput& out, const std::string& hex) {
  std::string bytes;
  if (!acdb_detail::bytesOfHex(hex, bytes) || bytes.size() > 255) return false;
  out.put(static_cast<char>(bytes.size()));
  out.put(bytes);
  return true;
}

bool putValue(FileOutput& out, int code, const std::string& text) {
  double real = 0;
  int64_t integer = 0;
  switch (acdb_detail::valueKind(code)) {
    case acdb_detail::ValueKind::Double:
      if (!acdb_detail::parseReal(text, real)) return false;
      putRaw(out, real);
      return true;
    case acdb_detail::ValueKind::Int16:
      if (!acdb_detail::parseInteger(text, integer)) return false;
      putRaw(out, static_cast<int16_t>(integer));
      return true;
    case acdb_detail::ValueKind::Int32:
      if (!acdb_detail::parseInteger(text, integer)) return false;
      putRaw(out, static_cast<int32_t>(integer));
      return true;
    case acdb_detail::ValueKind::Int64:
      if (!acdb_detail::parseInteger(text, integer)) return false;
      putRaw(out, integer);
      return true;
    case acdb_detail::ValueKind::Bool:
      if (!acdb_detail::parseInteger(text, integer)) return false;
      putRaw(out, static_cast<uint8_t>(integer));
      return true;
    case acdb_detail::ValueKind::Binary: return putChunk(out, text);
    case acdb_detail::ValueKind::String:
      out.put(text);
      out.put('\0');
      return true;
  }
  return false;
}

void putCode(FileOutput& out, int16_t code, bool byteCodes, bool escape) {
  if (!byteCodes) return putRaw(out, code);
  if (code >= 0 && code < 255 && !escape) return out.put(static_cast<char>(code));
  out.put('\xff');
  putRaw(out, code);
}

}  // namespace

bool writeBinary(const acdb_detail::Database& database, bool byteCodes, FileOutput& out, std::string& problem) {
  out.put(kBinarySentinel);
  // Readers tell one-byte codes by the first tag: an escaped code, or code 0
  // with a value. Any other first tag goes escaped, or the file would read
  // back with two-byte codes.
  bool first = true;
  for (const auto& record : database.records()) {
    bool ok = true;
    acdb_detail::forEachTag(*record, [&](int16_t code, const std::string& value) {
      if (!ok) return;
      putCode(out, code, byteCodes, first && !(code == 0 && !value.empty()));
      first = false;
      if (!putValue(out, code, value)) {
        problem = "value \"" + value + "\" of group code " + std::to_string(code) + " in " + record->type +
                  " has no binary form";
        ok = false;
      }
    });
    if (!ok) return false;
  }
  return true;
}

}  // namespace dxf
