// The AutoLISP functions that export and read an object's link and material.
#pragma once

int vrml_wrlout();
int vrml_geturl();
int vrml_getmaterial();
