// Fixed-width types of the host's programming interface.
#pragma once
#include <cstdint>

namespace Adesk {
typedef int16_t Int16;
typedef uint16_t UInt16;
typedef int32_t Int32;
typedef uint32_t UInt32;
typedef int32_t Boolean;
constexpr Boolean kFalse = 0;
constexpr Boolean kTrue = 1;
}  // namespace Adesk
