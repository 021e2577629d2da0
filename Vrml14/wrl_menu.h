// The AutoLISP function that loads the module's menu and toolbar.
#pragma once

int vrml_init();
