// The VRMLPROP and VRMLABOUT commands.
#pragma once

class WrlUrl;
class WrlMaterial;

void VRMLPROP();
void VRMLABOUT();

// Lets the user edit both records in the properties dialog: 1 on OK (the
// records then hold the edited values), 0 otherwise (both untouched).
int runPropertiesDialog(WrlUrl& url, WrlMaterial& material);
