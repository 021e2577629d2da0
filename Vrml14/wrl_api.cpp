// AutoLISP handlers. Until their bodies are written they answer nil.
#include "wrl_api.h"

#include "StdAfx.h"

int vrml_wrlout() {
  ads_retnil();
  return RSRSLT;
}

int vrml_geturl() {
  ads_retnil();
  return RSRSLT;
}

int vrml_getmaterial() {
  ads_retnil();
  return RSRSLT;
}
