// Buffered DXF text output: group code and value lines formatted with
// std::to_chars straight into a large buffer, so a million-face drawing is
// written in seconds.
#pragma once
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

class DxfTextOut {
 public:
  explicit DxfTextOut(std::FILE* file) : m_file(file), m_buffer(1 << 20) {}
  ~DxfTextOut() { flush(); }
  DxfTextOut(const DxfTextOut&) = delete;
  DxfTextOut& operator=(const DxfTextOut&) = delete;

  void text(int code, const char* value) {
    codeLine(code);
    const size_t length = std::strlen(value);
    room(length + 1);
    std::memcpy(m_buffer.data() + m_used, value, length);
    m_used += length;
    m_buffer[m_used++] = '\n';
  }
  void integer(int code, int64_t value) {
    codeLine(code);
    room(24);
    m_used = end(std::to_chars(cursor(), limit(), value).ptr);
  }
  void hex(int code, uint64_t value) {
    codeLine(code);
    room(24);
    char* first = cursor();
    char* last = std::to_chars(first, limit(), value, 16).ptr;
    // Handles are written in capitals.
    for (char* digit = first; digit != last; ++digit)
      if (*digit >= 'a') *digit = static_cast<char>(*digit - 'a' + 'A');
    m_used = end(last);
  }
  // Six decimals: the precision drawings from the field typically carry.
  void real(int code, double value) {
    codeLine(code);
    room(340);
    m_used = end(std::to_chars(cursor(), limit(), value, std::chars_format::fixed, 6).ptr);
  }
  void point(int firstCode, double x, double y, double z) {
    real(firstCode, x);
    real(firstCode + 10, y);
    real(firstCode + 20, z);
  }
  // False when any write to the file failed.
  bool flush() {
    if (m_used && std::fwrite(m_buffer.data(), 1, m_used, m_file) != m_used) m_failed = true;
    m_used = 0;
    return !m_failed;
  }

 private:
  // Group codes right-aligned in three columns, as drawing programs write them.
  void codeLine(int code) {
    room(8);
    char* out = cursor();
    if (code < 10) *out++ = ' ';
    if (code < 100) *out++ = ' ';
    m_used = end(std::to_chars(out, limit(), code).ptr);
  }
  size_t end(char* last) {
    *last = '\n';
    return static_cast<size_t>(last - m_buffer.data()) + 1;
  }
  void room(size_t bytes) {
    if (m_used + bytes > m_buffer.size()) flush();
  }
  char* cursor() { return m_buffer.data() + m_used; }
  char* limit() { return m_buffer.data() + m_buffer.size() - 1; }

  std::FILE* m_file;
  std::vector<char> m_buffer;
  size_t m_used = 0;
  bool m_failed = false;
};
