// Binary drawing files: the sentinel, then each tag as code and typed value.
#include <cstdint>
#include <cstring>

#include "db/group_codes.h"
#include "db/number_text.h"
#include "db/record_tags.h"
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

bool putChunk(FileOutput& out, std::string_view hex) {
  std::string bytes;
  if (!db::bytesOfHex(hex, bytes) || bytes.size() > 255) return false;
  out.put(static_cast<char>(bytes.size()));
  out.put(bytes);
  return true;
}

bool putValue(FileOutput& out, int code, std::string_view text) {
  double real = 0;
  int64_t integer = 0;
  switch (db::valueKind(code)) {
    case db::ValueKind::Double:
      if (!db::parseReal(text, real)) return false;
      putRaw(out, real);
      return true;
    case db::ValueKind::Int16:
      if (!db::parseInteger(text, integer)) return false;
      putRaw(out, static_cast<int16_t>(integer));
      return true;
    case db::ValueKind::Int32:
      if (!db::parseInteger(text, integer)) return false;
      putRaw(out, static_cast<int32_t>(integer));
      return true;
    case db::ValueKind::Int64:
      if (!db::parseInteger(text, integer)) return false;
      putRaw(out, integer);
      return true;
    case db::ValueKind::Bool:
      if (!db::parseInteger(text, integer)) return false;
      putRaw(out, static_cast<uint8_t>(integer));
      return true;
    case db::ValueKind::Binary: return putChunk(out, text);
    case db::ValueKind::String:
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

support::Status writeBinary(const db::Database& database, bool byteCodes, FileOutput& out) {
  out.put(kBinarySentinel);
  // Readers tell one-byte codes by the first tag: an escaped code, or code 0
  // with a value. Any other first tag goes escaped, or the file would read
  // back with two-byte codes.
  bool first = true;
  for (const auto& record : database.records()) {
    db::RecordTags tags(*record);
    if (!tags.ok())
      return support::Status::failure("the drawing's original file " + database.path() +
                                      " has changed since it was opened");
    for (const db::TagView& tag : tags.all()) {
      putCode(out, tag.code, byteCodes, first && !(tag.code == 0 && !tag.value.empty()));
      first = false;
      if (!putValue(out, tag.code, tag.value))
        return support::Status::failure("value \"" + std::string(tag.value) + "\" of group code " +
                                        std::to_string(tag.code) + " in " + record->type.str() + " has no binary form");
    }
  }
  return {};
}

}  // namespace dxf
