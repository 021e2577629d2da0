// A SAT or SAB payload split into records of tokens of one common kind, so
// one set of record readers serves both forms.
#pragma once
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "acis/model.h"
#include "support/status.h"

namespace acis::detail {

enum class TokenKind : uint8_t {
  Pointer,  // $N in text, tag 0x0C in bytes; `integer` is N
  Integer,  // `integer`, and `number` as well
  Real,     // `number`
  Word,     // an unquoted identifier (forward, I, exactsur ...)
  String,   // @N text, or a counted string in bytes
  True,     // the binary form's logical values
  False,
  Vector,        // a position or direction of the binary form
  SubtypeBegin,  // {
  SubtypeEnd,    // }
};

struct Token {
  TokenKind kind = TokenKind::Word;
  int64_t integer = 0;
  double number = 0;
  acis::Vec3 vector;
  std::string_view text;
};

struct RawRecord {
  std::string_view type;  // "face", "plane-surface", ...
  uint32_t first = 0;     // its tokens: tokens[first, first + count)
  uint32_t count = 0;
};

struct RawModel {
  int32_t version = 0;
  int64_t declaredRecords = 0;  // the header's count; 0 when it keeps none
  std::vector<RawRecord> records;
  std::vector<Token> tokens;
  // Names the binary form writes in pieces, joined here.
  std::deque<std::string> joinedNames;

  std::span<const Token> tokensOf(const RawRecord& record) const {
    return std::span<const Token>(tokens).subspan(record.first, record.count);
  }
};

// Records up to the end marker. Some writers leave the marker out: the data
// may then end after as many whole records as the header counts. Fails when
// the header is damaged or the data stops short.
support::Status tokenizeSat(std::string_view text, RawModel& model);
support::Status tokenizeSab(std::span<const uint8_t> bytes, RawModel& model);

// The tokens of one line of SAT words and numbers, no records (the literal
// form of a transform).
void tokenizeSatFields(std::string_view text, std::vector<Token>& tokens);

// True for the type names that end a model.
bool isEndMarker(std::string_view type);
// Whether data that ended without the marker holds every record.
inline bool completeWithoutMarker(const RawModel& model) {
  return model.declaredRecords > 0 && static_cast<int64_t>(model.records.size()) >= model.declaredRecords;
}

}  // namespace acis::detail
