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
  LineEnds(const char* from, const char* end) : m_next(from), m_end(end) {}

  // The next '\n' after the last one handed out (from `from` on), or `end`
  // once there is none.
  const char* next() {
    while (m_ends == 0) {
      if (m_next >= m_end) return m_end;
      load();
    }
    const char* found = m_base + __builtin_ctzll(m_ends);
    m_ends &= m_ends - 1;
    return found;
  }

 private:
  void load() {
    m_base = m_next;
    if (m_end - m_next >= 64) {
#ifdef __SSE2__
      const __m128i newline = _mm_set1_epi8('\n');
      uint64_t ends = 0;
      for (int i = 0; i < 4; ++i) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_next + 16 * i));
        ends |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, newline))))
                << (16 * i);
      }
      m_ends = ends;
      m_next += 64;
      return;
#endif
    }
    const char* stop = m_end - m_next >= 64 ? m_next + 64 : m_end;
    uint64_t ends = 0;
    for (const char* p = m_next; p < stop; ++p)
      if (*p == '\n') ends |= uint64_t(1) << (p - m_next);
    m_ends = ends;
    m_next = stop;
  }

  const char* m_base = nullptr;  // the bytes `m_ends` stands for
  const char* m_next;            // the first byte not looked at
  const char* m_end;
  uint64_t m_ends = 0;  // the line ends left in the 64 bytes at `m_base`, a bit each
};

// The line from `at` to its line end `lineEnd`, without a carriage return
// before it.
inline std::string_view lineBetween(const char* at, const char* lineEnd) {
  if (lineEnd > at && lineEnd[-1] == '\r') --lineEnd;
  return std::string_view(at, static_cast<size_t>(lineEnd - at));
}

}  // namespace dxf
