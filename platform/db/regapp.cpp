// Registering an application name in the current drawing.
#include "adslib.h"
#include "db/database.h"

extern "C" int ads_regapp(const char* name) {
  auto* database = db::currentDatabase();
  if (!database || !name) return RTERROR;
  return database->registerApp(name) ? RTNORM : RTERROR;
}
