// LIST: what the selected objects are (type, handle, layer, colour) and which
// applications hold extended data on them, so that a person can find what to
// pick for a module's command without another program.
#pragma once

void registerListCommand();
