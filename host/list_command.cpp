#include "list_command.h"

#include <cstdio>

#include "acadmem.h"
#include "adslib.h"
#include "dbmain.h"
#include "platform.h"

namespace {

std::string colourName(int index) {
  if (index == 0) return "BYBLOCK";
  if (index == 256) return "BYLAYER";
  return std::to_string(index);
}

std::string applications(const AcDbObject& object) {
  std::string names;
  resbuf* xdata = object.xData();
  for (const resbuf* item = xdata; item; item = item->rbnext)
    if (item->restype == 1001 && item->resval.rstring)
      names += std::string(names.empty() ? "" : ", ") + item->resval.rstring;
  ads_relrb(xdata);
  return names.empty() ? "none" : names;
}

void listEntity(const ads_name name) {
  AcDbObjectId id;
  AcDbObject* object = nullptr;
  if (acdbGetObjectId(id, name) != Acad::eOk || acdbOpenAcDbObject(object, id, AcDb::kForRead) != Acad::eOk) {
    acad::console::write("\n  (cannot be opened)");
    return;
  }
  char handle[24];
  std::snprintf(handle, sizeof handle, "%llX", static_cast<unsigned long long>(id.handle()));
  std::string text = "\n" + std::string(object->record()->type.name()) + "  handle " + handle;
  if (auto* entity = AcDbEntity::cast(object)) {
    char* layer = entity->layer();
    text += "  layer " + std::string(layer ? layer : "0") + "  colour " + colourName(entity->colorIndex());
    acad_free(layer);
  }
  acad::console::write(text + "  extended data: " + applications(*object));
  object->close();
}

bool listCommand(acad::host_commands::Answers&) {
  ads_name set;
  if (ads_ssget(nullptr, nullptr, nullptr, nullptr, set) != RTNORM) return true;
  long length = 0;
  ads_sslength(set, &length);
  for (long i = 0; i < length; ++i) {
    ads_name entity;
    if (ads_ssname(set, i, entity) == RTNORM) listEntity(entity);
  }
  ads_ssfree(set);
  return true;
}

}  // namespace

void registerListCommand() {
  acad::host_commands::add("LIST", listCommand, "shows the type, handle, layer, colour and extended data of objects");
}
