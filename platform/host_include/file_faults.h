// Faults of the framework's file writes, for the host and the tests.
#pragma once
#include <cstdint>

#include "afx.h"

// Fault switch for tests: the file writes that would take the bytes accepted
// since arming past `bytes` fail as a full disk would; failNextClose() makes
// the next Close fail once. disarm() ends both.
namespace win::file_faults {
AFX_API void failWritesAfter(uint64_t bytes);
AFX_API void failNextClose();
AFX_API void disarm();
}  // namespace win::file_faults
