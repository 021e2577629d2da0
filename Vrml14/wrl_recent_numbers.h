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
 public:
  // Writes `value` as wrl_number::fixed6() does and returns the end; up to
  // 16 bytes from `out` may be written over, within the room fixed6() asks.
  char* fixed6(char* out, double value) {
    const auto bits = std::bit_cast<uint64_t>(value);
    Entry& entry = m_entries[(bits * kSpread) >> (64 - kIndexBits)];
    if (entry.bits == bits && entry.length != 0) {
      std::memcpy(out, entry.text, kCopied);
      return out + entry.length;
    }
    char* end = wrl_number::fixed6(out, value);
    const auto length = static_cast<size_t>(end - out);
    if (length <= sizeof entry.text) {
      entry.bits = bits;
      std::memcpy(entry.text, out, length);
      entry.length = static_cast<uint8_t>(length);
    }
    return end;
  }

 private:
  static constexpr int kIndexBits = 9;
  // Multiplying by it spreads any change of the bits over the top ones.
  static constexpr uint64_t kSpread = 0x9E3779B97F4A7C15;
  struct Entry {
    uint64_t bits = 0;
    char text[15] = {};  // the common values: a sign, seven digits, a point and six
    uint8_t length = 0;  // 0: empty
  };
  // The text and the length byte after it, in one copy of fixed size.
  static constexpr size_t kCopied = sizeof Entry::text + sizeof Entry::length;
  static_assert(offsetof(Entry, length) == offsetof(Entry, text) + sizeof Entry::text);
  Entry m_entries[size_t{1} << kIndexBits];
};
