// The VRMLHELP command.
#pragma once

void VRMLHELP();
