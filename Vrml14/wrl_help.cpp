// VRMLHELP: opens the help file beside the module (body to come).
#include "wrl_help.h"

void VRMLHELP() {}
