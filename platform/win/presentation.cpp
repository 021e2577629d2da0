#include "win/presentation.h"

namespace win {
namespace {
// Constant-initialised, so it is null rather than unset whatever order the
// library's static initialisers run in.
constinit Presentation* g_screen = nullptr;
}  // namespace

void connectPresentation(Presentation& screen) { g_screen = &screen; }
Presentation& presentation() { return *g_screen; }

}  // namespace win
