// Binary drawing files: after the sentinel, a group code (one byte with an
// escape, or two bytes) and a value typed by that code, to EOF.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "db/group_codes.h"
#include "db/number_text.h"
#include "dxf/readers.h"

namespace dxf {
namespace {

class ByteStream {
 public:
  explicit ByteStream(std::string_view data) : m_data(data) {}
  size_t offset() const { return m_pos; }
  bool atEnd() const { return m_pos >= m_data.size(); }

  template <typename T>
  bool read(T& value) {
    if (m_data.size() - m_pos < sizeof(T)) return false;
    std::memcpy(&value, m_data.data() + m_pos, sizeof(T));  // files are little-endian, as is the host
    m_pos += sizeof(T);
    return true;
  }
  bool readString(std::string_view& text) {
    const void* end = std::memchr(m_data.data() + m_pos, '\0', m_data.size() - m_pos);
    if (!end) return false;
    size_t length = static_cast<size_t>(static_cast<const char*>(end) - (m_data.data() + m_pos));
    text = m_data.substr(m_pos, length);
    m_pos += length + 1;
    return true;
  }
  bool readChunk(std::string_view& bytes) {
    uint8_t length = 0;
    if (!read(length) || m_data.size() - m_pos < length) return false;
    bytes = m_data.substr(m_pos, length);
    m_pos += length;
    return true;
  }

 private:
  std::string_view m_data;
  size_t m_pos = 0;
};

// The value of `code` as the text an ASCII file would hold; false when the
// data ends inside it. `problem` is set for a value that is not acceptable.
bool readValue(ByteStream& in, int code, std::string& text, std::string& problem) {
  switch (db::valueKind(code)) {
    case db::ValueKind::Double: {
      double value = 0;
      if (!in.read(value)) return false;
      if (!std::isfinite(value)) problem = "non-finite number for group code " + std::to_string(code);
      text = db::formatReal(value);
      return true;
    }
    case db::ValueKind::Int16: {
      int16_t value = 0;
      if (!in.read(value)) return false;
      text = db::formatInteger(value);
      return true;
    }
    case db::ValueKind::Int32: {
      int32_t value = 0;
      if (!in.read(value)) return false;
      text = db::formatInteger(value);
      return true;
    }
    case db::ValueKind::Int64: {
      int64_t value = 0;
      if (!in.read(value)) return false;
      text = db::formatInteger(value);
      return true;
    }
    case db::ValueKind::Bool: {
      uint8_t value = 0;
      if (!in.read(value)) return false;
      text = db::formatInteger(value);
      return true;
    }
    case db::ValueKind::Binary: {
      std::string_view bytes;
      if (!in.readChunk(bytes)) return false;
      text = db::hexOfBytes(bytes);
      return true;
    }
    case db::ValueKind::String: {
      std::string_view value;
      if (!in.readString(value)) return false;
      text.assign(value);
      return true;
    }
  }
  return false;
}

bool readCode(ByteStream& in, bool byteCodes, int16_t& code) {
  if (!byteCodes) return in.read(code);
  uint8_t small = 0;
  if (!in.read(small)) return false;
  if (small != 255) {
    code = small;
    return true;
  }
  return in.read(code);
}

}  // namespace

bool readBinary(std::string_view data, RecordCollector& collector, bool& byteCodes) {
  // The first tag is group 0 (or 999): two zero bytes start it only when codes take two bytes.
  byteCodes = data.size() >= 2 && ((data[0] == '\0' && data[1] != '\0') || data[0] == '\xff');
  const size_t base = kBinarySentinel.size();
  ByteStream in(data);
  std::string text, problem;
  while (!collector.done() && !in.atEnd()) {
    size_t where = base + in.offset();
    int16_t code = 0;
    if (!readCode(in, byteCodes, code)) return collector.fail(where, "unexpected end of file in a group code");
    if (!db::validGroupCode(code)) return collector.fail(where, "invalid group code " + std::to_string(code));
    if (!readValue(in, code, text, problem))
      return collector.fail(where, "unexpected end of file in the value of group code " + std::to_string(code));
    if (!problem.empty()) return collector.fail(where, problem);
    if (!collector.add(code, text, where)) return false;
  }
  return collector.finish(base + in.offset());
}

}  // namespace dxf
