// The texts of the coordinates written lately, by the bits of their value:
// neighbouring faces share points, and a mesh's points share values, so most
// coordinates of a world file were written a few lines before. One found is
// copied instead of formatted again.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "wrl_number.h"

class WrlRecentNumbers {
  struct Entry {
    uint64_t bits = 0;
    char text[15] = {};  // the common values: a sign, seven digits, a point and six
    uint8_t length = 0;  // 0: empty
  };

 public:
  // Room a call needs at `out`: the formatter's. Up to 16 bytes may be
  // written over even for a shorter number.
  static constexpr size_t kRoom = wrl_number::kMaxFixedChars;

  // Writes `value` as wrl_number::fixed6() does and returns the end.
  char* fixed6(char* out, double value) {
    const auto bits = std::bit_cast<uint64_t>(value);
    Entry& entry = m_entries[(bits * kSpread) >> (64 - kIndexBits)];
    if (entry.bits == bits && entry.length != 0) {
      std::memcpy(out, entry.text, kCopied);
      return out + entry.length;
    }
    return formatAndKeep(out, value, entry);
  }

 private:
  static constexpr int kIndexBits = 9;
  // Multiplying by it spreads any change of the bits over the top ones.
  static constexpr uint64_t kSpread = 0x9E3779B97F4A7C15;
  // The text and the length byte after it, in one copy of fixed size.
  static constexpr size_t kCopied = sizeof Entry::text + sizeof Entry::length;
  static_assert(offsetof(Entry, length) == offsetof(Entry, text) + sizeof Entry::text);

  // Out of line: the common case, a number found, then saves registers.
  [[gnu::noinline]] static char* formatAndKeep(char* out, double value, Entry& entry);

  Entry m_entries[size_t{1} << kIndexBits];
};
