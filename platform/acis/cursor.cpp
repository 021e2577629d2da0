#include "acis/cursor.h"

#include <cmath>

namespace acis::detail {

bool Cursor::pointer(int64_t& index) {
  if (!peekIs(TokenKind::Pointer)) return false;
  index = m_tokens[m_at++].integer;
  return true;
}

bool Cursor::integer(int64_t& value) {
  if (!peekIs(TokenKind::Integer)) return false;
  value = m_tokens[m_at++].integer;
  return true;
}

bool Cursor::real(double& value) {
  if (!peekIsNumber() || !std::isfinite(peek()->number)) return false;
  value = m_tokens[m_at++].number;
  return true;
}

bool Cursor::vec3(acis::Vec3& value) {
  if (peekIs(TokenKind::Vector)) {
    value = m_tokens[m_at++].vector;
    return std::isfinite(value.x) && std::isfinite(value.y) && std::isfinite(value.z);
  }
  size_t start = m_at;
  if (real(value.x) && real(value.y) && real(value.z)) return true;
  m_at = start;
  return false;
}

bool Cursor::word(std::string_view& value) {
  if (!peekIs(TokenKind::Word) && !peekIs(TokenKind::String)) return false;
  value = m_tokens[m_at++].text;
  return true;
}

bool Cursor::flag(std::string_view whenFalse, std::string_view whenTrue, bool& value) {
  const Token* token = peek();
  if (!token) return false;
  switch (token->kind) {
    case TokenKind::True:
    case TokenKind::False: value = token->kind == TokenKind::True; break;
    case TokenKind::Integer:
      if (token->integer != 0 && token->integer != 1) return false;
      value = token->integer == 1;
      break;
    case TokenKind::Word:
      if (token->text != whenFalse && token->text != whenTrue) return false;
      value = token->text == whenTrue;
      break;
    default: return false;
  }
  ++m_at;
  return true;
}

bool Cursor::skipIntervalEnd() {
  const Token* token = peek();
  if (!token) return false;
  if (token->kind == TokenKind::False || (token->kind == TokenKind::Word && token->text == "I")) {
    ++m_at;
    return true;
  }
  if (token->kind != TokenKind::True && !(token->kind == TokenKind::Word && token->text == "F")) return false;
  ++m_at;
  double ignored = 0;
  if (real(ignored)) return true;
  --m_at;
  return false;
}

bool Cursor::entityPrefix() {
  int64_t ignored = 0;
  if (!pointer(ignored)) return false;
  if (m_version < 700) return true;
  size_t start = m_at;
  if (integer(ignored) && pointer(ignored)) return true;
  m_at = start;
  return false;
}

}  // namespace acis::detail
