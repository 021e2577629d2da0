// The binary form: a signature, four 32-bit header numbers, the product
// strings and units, then records of tagged values closed by tag 0x11.
#include <cstring>

#include "acis/tokens.h"

namespace acis::detail {

namespace {

constexpr std::string_view kSignatures[] = {"ACIS BinaryFile", "ASM BinaryFile4"};
constexpr size_t kSignatureLength = 15;

enum Tag : uint8_t {
  kInt32 = 0x04,
  kDouble = 0x06,
  kShortString = 0x07,
  kTrue = 0x0A,
  kFalse = 0x0B,
  kPointer = 0x0C,
  kName = 0x0D,
  kNamePrefix = 0x0E,
  kSubtypeBegin = 0x0F,
  kSubtypeEnd = 0x10,
  kRecordEnd = 0x11,
  kLongString = 0x12,
  kPosition = 0x13,
  kDirection = 0x14,
  kEnum = 0x15,
};

class SabScanner {
 public:
  explicit SabScanner(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

  bool atEnd() const { return m_at >= m_bytes.size(); }
  bool byte(uint8_t& out) {
    if (m_at >= m_bytes.size()) return false;
    out = m_bytes[m_at++];
    return true;
  }
  bool int32(int64_t& out) {
    int32_t value = 0;
    if (!copy(&value, sizeof value)) return false;
    out = value;
    return true;
  }
  bool real(double& out) { return copy(&out, sizeof out); }
  bool text(size_t length, std::string_view& out) {
    if (length > m_bytes.size() - m_at) return false;
    out = std::string_view(reinterpret_cast<const char*>(m_bytes.data() + m_at), length);
    m_at += length;
    return true;
  }
  // A string whose length comes first in `lengthBytes` bytes.
  bool counted(size_t lengthBytes, std::string_view& out) {
    uint32_t length = 0;
    return copy(&length, lengthBytes) && text(length, out);
  }
  // One tagged value; false at a tag it does not know or past the data.
  bool token(uint8_t tag, Token& token) {
    switch (tag) {
      case kInt32:
      case kEnum:
        token.kind = TokenKind::Integer;
        if (!int32(token.integer)) return false;
        token.number = static_cast<double>(token.integer);
        return true;
      case kPointer: token.kind = TokenKind::Pointer; return int32(token.integer);
      case kDouble: token.kind = TokenKind::Real; return real(token.number);
      case kShortString: token.kind = TokenKind::String; return counted(1, token.text);
      case kLongString: token.kind = TokenKind::String; return counted(4, token.text);
      case kTrue:
      case kFalse: token.kind = tag == kTrue ? TokenKind::True : TokenKind::False; return true;
      case kSubtypeBegin:
      case kSubtypeEnd:
        token.kind = tag == kSubtypeBegin ? TokenKind::SubtypeBegin : TokenKind::SubtypeEnd;
        return true;
      case kPosition:
      case kDirection:
        token.kind = TokenKind::Vector;
        return real(token.vector.x) && real(token.vector.y) && real(token.vector.z);
      default: return false;
    }
  }

 private:
  bool copy(void* out, size_t size) {
    if (size > m_bytes.size() - m_at) return false;
    std::memcpy(out, m_bytes.data() + m_at, size);
    m_at += size;
    return true;
  }

  std::span<const uint8_t> m_bytes;
  size_t m_at = 0;
};

// A name the binary form writes as prefixes (0x0E) closed by its last part
// (0x0D), read after the first tag; joined with '-' as the text form has it.
bool readName(SabScanner& in, uint8_t tag, RawModel& model, std::string_view& name) {
  std::string_view part;
  if (!in.counted(1, part)) return false;
  if (tag == kName) {
    name = part;
    return true;
  }
  std::string joined(part);
  while (tag == kNamePrefix) {
    if (!in.byte(tag) || (tag != kName && tag != kNamePrefix) || !in.counted(1, part)) return false;
    joined += '-';
    joined += part;
  }
  name = model.joinedNames.emplace_back(std::move(joined));
  return true;
}

bool readHeader(SabScanner& in, RawModel& model) {
  std::string_view signature;
  if (!in.text(kSignatureLength, signature)) return false;
  bool known = false;
  for (std::string_view candidate : kSignatures) known = known || candidate == signature;
  int64_t version = 0, ignored = 0;
  if (!known || !in.int32(version) || version <= 0 || version > 1'000'000) return false;
  model.version = static_cast<int32_t>(version);
  if (!in.int32(model.declaredRecords) || !in.int32(ignored) || !in.int32(ignored)) return false;
  // The product, its version and the date, then three unit tolerances.
  uint8_t tag = 0;
  Token token;
  for (int i = 0; i < 6; ++i) {
    TokenKind expected = i < 3 ? TokenKind::String : TokenKind::Real;
    if (!in.byte(tag) || !in.token(tag, token) || token.kind != expected) return false;
  }
  return true;
}

}  // namespace

support::Status tokenizeSab(std::span<const uint8_t> bytes, RawModel& model) {
  SabScanner in(bytes);
  if (!readHeader(in, model)) return support::Status::failure("the SAB header is damaged");
  while (!in.atEnd()) {
    uint8_t tag = 0;
    std::string_view type;
    if (!in.byte(tag) || (tag != kName && tag != kNamePrefix) || !readName(in, tag, model, type)) break;
    if (isEndMarker(type)) return {};
    RawRecord record{type, static_cast<uint32_t>(model.tokens.size()), 0};
    bool closed = false;
    while (in.byte(tag)) {
      if (tag == kRecordEnd) {
        closed = true;
        break;
      }
      Token token;
      if (tag == kName || tag == kNamePrefix) {
        token.kind = TokenKind::Word;
        if (!readName(in, tag, model, token.text)) break;
      } else if (!in.token(tag, token)) {
        break;
      }
      model.tokens.push_back(token);
    }
    if (!closed) break;
    record.count = static_cast<uint32_t>(model.tokens.size() - record.first);
    model.records.push_back(record);
  }
  if (in.atEnd() && completeWithoutMarker(model)) return {};
  return support::Status::failure("the SAB data is damaged or stops before its end marker");
}

}  // namespace acis::detail
