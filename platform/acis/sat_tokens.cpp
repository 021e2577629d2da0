// The text form: a header of one line (1.x) or three, then records of
// whitespace-separated tokens, each closed by '#'.
#include <charconv>

#include "acis/tokens.h"

namespace acis::detail {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

class SatScanner {
 public:
  explicit SatScanner(std::string_view text) : m_text(text) {}

  bool atEnd() {
    while (m_at < m_text.size() && isSpace(m_text[m_at])) ++m_at;
    return m_at >= m_text.size();
  }
  std::string_view word() {
    atEnd();
    size_t start = m_at;
    while (m_at < m_text.size() && !isSpace(m_text[m_at])) ++m_at;
    return m_text.substr(start, m_at - start);
  }
  // The rest of the current line, and the scanner at the next.
  std::string_view line() {
    size_t start = m_at;
    while (m_at < m_text.size() && m_text[m_at] != '\n') ++m_at;
    std::string_view taken = m_text.substr(start, m_at - start);
    if (m_at < m_text.size()) ++m_at;
    return taken;
  }
  // `length` bytes after the single space that follows an @N count.
  bool counted(int64_t length, std::string_view& out) {
    if (m_at >= m_text.size() || m_text[m_at] != ' ') return false;
    ++m_at;
    if (length < 0 || static_cast<uint64_t>(length) > m_text.size() - m_at) return false;
    out = m_text.substr(m_at, static_cast<size_t>(length));
    m_at += static_cast<size_t>(length);
    return true;
  }

 private:
  std::string_view m_text;
  size_t m_at = 0;
};

bool parseInteger(std::string_view text, int64_t& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

Token classify(std::string_view text) {
  Token token;
  token.text = text;
  if (text == "{") token.kind = TokenKind::SubtypeBegin;
  else if (text == "}") token.kind = TokenKind::SubtypeEnd;
  else if (text.size() > 1 && text[0] == '$' && parseInteger(text.substr(1), token.integer))
    token.kind = TokenKind::Pointer;
  else if (parseInteger(text, token.integer)) {
    token.kind = TokenKind::Integer;
    token.number = static_cast<double>(token.integer);
  } else {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), token.number);
    if (ec == std::errc() && end == text.data() + text.size()) token.kind = TokenKind::Real;
  }
  return token;
}

bool isSequenceNumber(std::string_view text) {
  int64_t number = 0;
  return text.size() > 1 && text[0] == '-' && parseInteger(text.substr(1), number);
}

}  // namespace

bool isEndMarker(std::string_view type) {
  return type == "End-of-ACIS-data" || type == "End-of-ASM-data" || type == "Begin-of-ACIS-History-data";
}

void tokenizeSatFields(std::string_view text, std::vector<Token>& tokens) {
  SatScanner scanner(text);
  while (!scanner.atEnd()) tokens.push_back(classify(scanner.word()));
}

support::Status tokenizeSat(std::string_view text, RawModel& model) {
  SatScanner scanner(text);
  int64_t version = 0;
  if (!parseInteger(scanner.word(), version) || version <= 0 || version > 1'000'000)
    return support::Status::failure("the SAT header has no version");
  model.version = static_cast<int32_t>(version);
  if (!parseInteger(scanner.word(), model.declaredRecords)) model.declaredRecords = 0;
  scanner.line();
  // 1.x writes the counts line alone; later versions add the product line
  // and the units line.
  if (version >= 200) {
    scanner.line();
    scanner.line();
  }
  while (!scanner.atEnd()) {
    std::string_view type = scanner.word();
    if (isSequenceNumber(type)) type = scanner.word();
    if (isEndMarker(type)) return {};
    RawRecord record{type, static_cast<uint32_t>(model.tokens.size()), 0};
    bool closed = false;
    while (!closed && !scanner.atEnd()) {
      std::string_view text = scanner.word();
      if (text == "#") {
        closed = true;
        break;
      }
      Token token = classify(text);
      if (text.size() > 1 && text[0] == '@') {
        int64_t length = 0;
        if (!parseInteger(text.substr(1), length) || !scanner.counted(length, token.text))
          return support::Status::failure("a SAT string runs past the data");
        token.kind = TokenKind::String;
      }
      model.tokens.push_back(token);
    }
    if (!closed) return support::Status::failure("the SAT data stops inside a record");
    record.count = static_cast<uint32_t>(model.tokens.size() - record.first);
    model.records.push_back(record);
  }
  if (completeWithoutMarker(model)) return {};
  return support::Status::failure("the SAT data stops before its end marker");
}

}  // namespace acis::detail
