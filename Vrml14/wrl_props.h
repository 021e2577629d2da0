// The VRMLPROP and VRMLABOUT commands.
#pragma once

void VRMLPROP();
void VRMLABOUT();
