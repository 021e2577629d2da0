// Finding the lines of a text drawing: most of its lines are a few bytes
// long, so the line ends are found 64 bytes at a time and handed out one by
// one, rather than each line being searched for its end.
#pragma once
#include <cstdint>
#include <string_view>

#include "db/tag_lines.h"

namespace dxf {

class LineEnds {
 public:
  LineEnds(const char* from, const char* end) : m_next(from), m_end(end) {}

  // The next '\n' after the last one handed out (from `from` on), or `end`
  // once there is none.
  const char* next() {
    if (m_block.ends == 0) {
      m_block = nextBlock(m_next, m_end);
      if (m_block.ends == 0) {
        m_next = m_end;
        return m_end;
      }
      m_next = m_end - m_block.base > 64 ? m_block.base + 64 : m_end;
    }
    const char* found = m_block.base + __builtin_ctzll(m_block.ends);
    m_block.ends &= m_block.ends - 1;
    return found;
  }

 private:
  // Two words, so that it comes back in registers.
  struct Block {
    const char* base;  // the bytes `ends` stands for
    uint64_t ends;     // the line ends left in the 64 bytes at `base`, a bit each
  };

  // The next 64 bytes from `at` on that hold a line end (none when the text
  // has no more). Out of line and by value: next() runs twice a tag, and its
  // state stays in registers. Hidden, so that the reader calls it directly
  // rather than through the library's symbol table.
  [[gnu::noinline, gnu::visibility("hidden")]] static Block nextBlock(const char* at, const char* end) {
    for (; end - at >= 64; at += 64)
      if (uint64_t ends = db::lineEndsIn64(at)) return {at, ends};
    uint64_t ends = 0;
    for (const char* p = at; p < end; ++p)
      if (*p == '\n') ends |= uint64_t(1) << (p - at);
    return {at, ends};
  }

  Block m_block{nullptr, 0};
  const char* m_next;  // the first byte not looked at
  const char* m_end;
};

// The line from `at` to its line end `lineEnd`, without a carriage return
// before it.
inline std::string_view lineBetween(const char* at, const char* lineEnd) {
  if (lineEnd > at && lineEnd[-1] == '\r') --lineEnd;
  return std::string_view(at, static_cast<size_t>(lineEnd - at));
}

}  // namespace dxf
