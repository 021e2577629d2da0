#include "wrl_recent_numbers.h"

// The kept text is copied in a piece of fixed size, what lies after the
// number within the room included: one copy of a few stores, not a call.
char* WrlRecentNumbers::formatAndKeep(char* out, double value, Entry& entry) {
  char* end = wrl_number::fixed6(out, value);
  const auto length = static_cast<size_t>(end - out);
  if (length <= sizeof entry.text) {
    entry.bits = std::bit_cast<uint64_t>(value);
    std::memcpy(entry.text, out, sizeof entry.text);
    entry.length = static_cast<uint8_t>(length);
  }
  return end;
}
