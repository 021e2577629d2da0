// Reading one record's (or one subtype's) tokens in order, each read
// checking the kind of what it takes. A read that fails leaves the cursor
// where it was.
#pragma once
#include <span>
#include <string_view>

#include "acis/tokens.h"

namespace acis::detail {

class Cursor {
 public:
  Cursor(std::span<const Token> tokens, int32_t version) : m_tokens(tokens), m_version(version) {}

  int32_t version() const { return m_version; }
  bool atEnd() const { return m_at >= m_tokens.size(); }
  size_t remaining() const { return m_tokens.size() - m_at; }
  const Token* peek() const { return atEnd() ? nullptr : &m_tokens[m_at]; }
  bool peekIs(TokenKind kind) const { return peek() && peek()->kind == kind; }
  bool peekIsNumber() const { return peekIs(TokenKind::Integer) || peekIs(TokenKind::Real); }

  // $N; -1 is the null pointer.
  bool pointer(int64_t& index);
  bool integer(int64_t& value);
  // An integer or real, finite.
  bool real(double& value);
  // A vector token, or three reals.
  bool vec3(acis::Vec3& value);
  // A word or string.
  bool word(std::string_view& value);
  // An enumeration of two values: the text form's words (`whenFalse`,
  // `whenTrue`), 1.x's 0/1, the binary form's logicals.
  bool flag(std::string_view whenFalse, std::string_view whenTrue, bool& value);
  // An interval end: I (unbounded), or F and a real.
  bool skipIntervalEnd();
  // What every entity starts with: attribute pointer, then from 7.0 an id
  // and a history pointer.
  bool entityPrefix();
  void skipOptionalInteger() {
    if (peekIs(TokenKind::Integer)) ++m_at;
  }
  // Takes a token of this kind.
  bool take(TokenKind kind) {
    if (!peekIs(kind)) return false;
    ++m_at;
    return true;
  }

 private:
  std::span<const Token> m_tokens;
  size_t m_at = 0;
  int32_t m_version = 0;
};

}  // namespace acis::detail
