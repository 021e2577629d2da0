#include "wrl_number.h"

#include <charconv>

namespace wrl_number {

char* fixed6(char* out, double value) {
  return std::to_chars(out, out + kMaxFixedChars, value, std::chars_format::fixed, 6).ptr;
}

char* integer(char* out, int32_t value) { return std::to_chars(out, out + kMaxIntChars, value).ptr; }

}  // namespace wrl_number
