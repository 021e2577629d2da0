// VRMLPROP and VRMLABOUT (bodies to come).
#include "wrl_props.h"

void VRMLPROP() {}

void VRMLABOUT() {}
