// Decimal digits read eight at a time from one 64-bit word: the numbers of
// a drawing are mostly coordinates of a handful of digits, and a byte at a
// time costs a multiply and a branch a digit.
#pragma once
#include <bit>
#include <cstdint>
#include <cstring>

namespace db::digit_words {

constexpr uint64_t kEach(uint8_t byte) { return 0x0101010101010101ull * byte; }

// The eight bytes from `at`, the first the lowest.
inline uint64_t firstEight(const char* at) {
  uint64_t word = 0;
  std::memcpy(&word, at, 8);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

// The 1 to 8 bytes from `at` to `end` as one word, the first byte the
// lowest; the bytes after `end` come as zero, which no digit is. Read as the
// eight bytes before `end`: the text must hold that many.
inline uint64_t lastBytesFrom(const char* at, const char* end) { return firstEight(end - 8) >> (8 * (8 - (end - at))); }

// Marks the bytes of a word that are not digits, once '0' is taken off
// each: a digit stays below 16, and so does it plus 6. A carry out of a byte
// that is not a digit marks only later bytes.
inline uint64_t notDigits(uint64_t digits) { return ((digits + kEach(6)) | digits) & kEach(0xF0); }

// Marks the zero bytes of a word; a byte after a marked one may be marked
// wrongly, so only the first mark counts.
inline uint64_t zeroBytes(uint64_t word) { return (word - kEach(1)) & ~word & kEach(0x80); }

// The word without its byte `at` (0 to 7): the bytes after it move down one.
inline uint64_t withoutByte(uint64_t word, int at) {
  uint64_t before = (uint64_t(1) << (8 * at)) - 1;
  return (word & before) | ((word >> 8) & ~before);
}

// The value of eight digit bytes already less '0' (each 0 to 9), the first
// byte the most significant digit.
inline uint64_t valueOfEight(uint64_t digits) {
  digits = (digits * 10) + (digits >> 8);
  digits = (((digits & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
            (((digits >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
           32;
  return digits & 0xFFFFFFFFu;
}

}  // namespace db::digit_words
