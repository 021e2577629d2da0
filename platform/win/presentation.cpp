#include "win/presentation.h"

namespace win {

// Constant-initialised, so it is null rather than unset whatever order the
// library's static initialisers run in.
constinit support::Port<Presentation> presentation;

}  // namespace win
