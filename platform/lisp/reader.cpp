// The reader: an explicit stack of open lists instead of recursion, so that
// any amount of "(" is refused cleanly rather than exhausting the stack.
#include "lisp/reader.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace lisp {
namespace {

bool isDelimiter(char c) {
  return std::isspace(static_cast<unsigned char>(c)) || c == '(' || c == ')' || c == '\'' || c == '"' || c == ';';
}

// An open list, or a pending quote that wraps the next expression.
struct Frame {
  bool quote = false;
  Value head = nullptr;
  Value last = nullptr;
  bool dotSeen = false;   // "." read, the tail expression is next
  bool tailDone = false;  // the tail after "." has been read
};

class Reader {
 public:
  Reader(Interpreter& lisp, const std::string& text) : m_lisp(lisp), m_text(text) {}

  std::vector<Value> readAll() {
    std::vector<Value> forms;
    while (skipBlank()) {
      char c = m_text[m_pos];
      if (c == '(') {
        ++m_pos;
        open(false);
      } else if (c == ')') {
        ++m_pos;
        if (m_frames.empty() || m_frames.back().quote) fail("extra right paren on input");
        close(forms);
      } else if (c == '\'') {
        ++m_pos;
        open(true);
      } else if (c == '"') {
        complete(readString(), forms);
      } else {
        readToken(forms);
      }
    }
    if (!m_frames.empty()) fail("malformed list on input");
    return forms;
  }

 private:
  // Skips blanks and comments; false at the end of the text.
  bool skipBlank() {
    while (m_pos < m_text.size()) {
      char c = m_text[m_pos];
      if (std::isspace(static_cast<unsigned char>(c))) {
        ++m_pos;
      } else if (c == ';' && m_text.compare(m_pos, 2, ";|") == 0) {
        size_t end = m_text.find("|;", m_pos + 2);
        m_pos = end == std::string::npos ? m_text.size() : end + 2;
      } else if (c == ';') {
        size_t end = m_text.find('\n', m_pos);
        m_pos = end == std::string::npos ? m_text.size() : end + 1;
      } else {
        return true;
      }
    }
    return false;
  }

  void open(bool quote) {
    if (static_cast<int>(m_frames.size()) >= kMaxNesting) fail("nesting too deep on input");
    m_frames.push_back(Frame{quote});
  }

  void close(std::vector<Value>& forms) {
    Frame frame = m_frames.back();
    if (frame.dotSeen && !frame.tailDone) fail("malformed list on input");
    m_frames.pop_back();
    complete(frame.head, forms);
  }

  // Hands a finished expression to the innermost open list, wrapping it in
  // (QUOTE ...) for every pending quote.
  void complete(Value value, std::vector<Value>& forms) {
    while (!m_frames.empty() && m_frames.back().quote) {
      m_frames.pop_back();
      value = m_lisp.cons(m_lisp.symbol("QUOTE"), m_lisp.cons(value, nullptr));
    }
    if (m_frames.empty()) {
      forms.push_back(value);
      return;
    }
    Frame& frame = m_frames.back();
    if (frame.tailDone) fail("malformed list on input");
    if (frame.dotSeen) {
      frame.last->cdr = value;
      frame.tailDone = true;
      return;
    }
    Value cell = m_lisp.cons(value, nullptr);
    if (frame.last) {
      frame.last->cdr = cell;
    } else {
      frame.head = cell;
    }
    frame.last = cell;
  }

  Value readString() {
    std::string text;
    for (++m_pos; m_pos < m_text.size(); ++m_pos) {
      char c = m_text[m_pos];
      if (c == '"') {
        ++m_pos;
        return m_lisp.makeString(text);
      }
      if (c != '\\') {
        text.push_back(c);
        continue;
      }
      if (++m_pos >= m_text.size()) break;
      text.push_back(escaped());
    }
    fail("malformed string on input");
  }

  // The character that a backslash sequence stands for; m_pos is on the
  // character after the backslash and is left on the sequence's last one.
  char escaped() {
    char c = m_text[m_pos];
    switch (c) {
      case 'n': return '\n';
      case 't': return '\t';
      case 'r': return '\r';
      case 'e': return '\x1b';
      default: break;
    }
    if (c < '0' || c > '7') return c;
    int code = 0;
    for (int digits = 0; digits < 3 && m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '7';
         ++digits, ++m_pos)
      code = code * 8 + (m_text[m_pos] - '0');
    --m_pos;
    return static_cast<char>(code);
  }

  void readToken(std::vector<Value>& forms) {
    size_t start = m_pos;
    while (m_pos < m_text.size() && !isDelimiter(m_text[m_pos])) ++m_pos;
    std::string token = m_text.substr(start, m_pos - start);
    if (token == "." && !m_frames.empty() && !m_frames.back().quote) {
      Frame& frame = m_frames.back();
      if (!frame.last || frame.dotSeen) fail("malformed list on input");
      frame.dotSeen = true;
      return;
    }
    complete(atom(token), forms);
  }

  // A number when the whole token reads as one, otherwise a symbol. Integers
  // beyond 32 bits become reals, as AutoLISP reads them.
  Value atom(const std::string& token) {
    const char* first = token.data();
    const char* end = first + token.size();
    if (*first == '+') ++first;
    long long integer = 0;
    auto [intEnd, intError] = std::from_chars(first, end, integer);
    if (intError == std::errc() && intEnd == end && integer >= std::numeric_limits<int32_t>::min() &&
        integer <= std::numeric_limits<int32_t>::max())
      return m_lisp.makeInt(static_cast<long>(integer));
    double real = 0;
    auto [realEnd, realError] = std::from_chars(first, end, real);
    bool digits = token.find_first_of("0123456789") != std::string::npos;
    if (digits && realError == std::errc() && realEnd == end && std::isfinite(real)) return m_lisp.makeReal(real);
    if (digits && realError == std::errc::result_out_of_range && realEnd == end) fail("invalid number: " + token);
    if (token.size() == 3 && std::toupper(static_cast<unsigned char>(token[0])) == 'N' &&
        std::toupper(static_cast<unsigned char>(token[1])) == 'I' &&
        std::toupper(static_cast<unsigned char>(token[2])) == 'L')
      return nullptr;
    return m_lisp.symbol(token);
  }

  Interpreter& m_lisp;
  const std::string& m_text;
  size_t m_pos = 0;
  std::vector<Frame> m_frames;
};

}  // namespace

std::vector<Value> readAll(Interpreter& lisp, const std::string& text) { return Reader(lisp, text).readAll(); }

}  // namespace lisp
