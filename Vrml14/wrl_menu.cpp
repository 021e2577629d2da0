// (vrml_init): reloads the menu group and floats the toolbar; sets no result.
#include "wrl_menu.h"

#include "ZornVrml.h"

int vrml_init() {
  vrmlApp().loadMenu();
  return RSRSLT;
}
