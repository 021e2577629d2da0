// Finding the lines of a text drawing: most of its lines are a few bytes
// long, so the line ends are found 64 bytes at a time and handed out one by
// one, rather than each line being searched for its end.
#pragma once
#include <cstdint>
#include <string_view>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace dxf {

class LineEnds {
 public:
  LineEnds(const char* from, const char* end) : m_block{from, from, 0}, m_end(end) {}

  // The next '\n' after the last one handed out (from `from` on), or `end`
  // once there is none.
  const char* next() {
    if (m_block.ends == 0) {
      m_block = nextBlock(m_block.next, m_end);
      if (m_block.ends == 0) return m_end;
    }
    const char* found = m_block.base + __builtin_ctzll(m_block.ends);
    m_block.ends &= m_block.ends - 1;
    return found;
  }

 private:
  struct Block {
    const char* base;  // the bytes `ends` stands for
    const char* next;  // the first byte not looked at
    uint64_t ends;     // the line ends left in the 64 bytes at `base`, a bit each
  };

  // The next 64 bytes from `at` on that hold a line end (none when the text
  // has no more). Out of line and by value: next() runs twice a tag, and its
  // state stays in registers.
  [[gnu::noinline]] static Block nextBlock(const char* at, const char* end) {
    Block block{at, at, 0};
    while (block.ends == 0 && block.next < end) {
      block.base = block.next;
      block.ends = endsIn(block.next, end);
      block.next = end - block.next >= 64 ? block.next + 64 : end;
    }
    return block;
  }

  // The line ends among the (up to) 64 bytes from `at`.
  static uint64_t endsIn(const char* at, const char* end) {
    uint64_t ends = 0;
#ifdef __SSE2__
    if (end - at >= 64) {
      const __m128i newline = _mm_set1_epi8('\n');
      for (int i = 0; i < 4; ++i) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * i));
        ends |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, newline))))
                << (16 * i);
      }
      return ends;
    }
#endif
    const char* stop = end - at >= 64 ? at + 64 : end;
    for (const char* p = at; p < stop; ++p)
      if (*p == '\n') ends |= uint64_t(1) << (p - at);
    return ends;
  }

  Block m_block;
  const char* m_end;
};

// The line from `at` to its line end `lineEnd`, without a carriage return
// before it.
inline std::string_view lineBetween(const char* at, const char* lineEnd) {
  if (lineEnd > at && lineEnd[-1] == '\r') --lineEnd;
  return std::string_view(at, static_cast<size_t>(lineEnd - at));
}

}  // namespace dxf
