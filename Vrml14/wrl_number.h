// Numbers as the world file writes them: C-locale "%.6f" and "%d", whatever
// the process locale, written into a caller's buffer.
#pragma once
#include <cstddef>
#include <cstdint>

namespace wrl_number {

// Room enough for any double in fixed notation with six decimals.
constexpr size_t kMaxFixedChars = 320;
constexpr size_t kMaxIntChars = 12;

// Each writes the digits at `out` (no terminating zero) and returns the end;
// the byte after the end may be written over too, within the room above.
char* fixed6(char* out, double value);
char* integer(char* out, int32_t value);

}  // namespace wrl_number
