// AutoLISP handlers that export a selection set and read an object's link
// and material. Each sets nil as its result first, so every way out that sets
// nothing else returns nil.
#include "wrl_api.h"

#include "StdAfx.h"
#include "dbmain.h"
#include "message.h"
#include "wrl_file.h"
#include "wrl_mat.h"
#include "wrl_out.h"
#include "wrl_url.h"

namespace {

// The only argument when it is an entity name; otherwise the usage message
// is printed and null returned.
const resbuf* entityArgument(int usageMessage) {
  const resbuf* args = ads_getargs();
  if (args && args->restype == RTENAME && !args->rbnext) return args;
  ads_printf(messageText(usageMessage));
  return nullptr;
}

// Opens the named object for read. 0 when the name has no object, the object
// cannot be opened, or it is no database object (it is closed again then).
int openForRead(const ads_name name, AcDbObject*& object) {
  AcDbObjectId id;
  if (acdbGetObjectId(id, name) != Acad::eOk) return 0;
  if (acdbOpenAcDbObject(object, id, AcDb::kForRead) != Acad::eOk) return 0;
  if (object->isKindOf(AcDbObject::desc())) return 1;
  if (object->close() != Acad::eOk) acrx_abort("Failed AcDbObject::close()");
  return 0;
}

// Reads the record from the object that the only argument names. RSERR on a
// usage error or an object that cannot be opened; otherwise RSRSLT, with
// `read` holding what readFromObject answered. The object is closed again.
template <typename Record>
int readFromArgument(int usageMessage, Record& record, int& read) {
  const resbuf* args = entityArgument(usageMessage);
  AcDbObject* object = nullptr;
  if (!args || !openForRead(args->resval.rlname, object)) return RSERR;
  read = record.readFromObject(object);
  object->close();
  return RSRSLT;
}

// An RTSTR item holding a copy of the text, or RTNIL for no text; null when
// out of memory.
resbuf* textItem(const char* text) {
  resbuf* item = ads_newrb(text ? RTSTR : RTNIL);
  if (item && text && !(item->resval.rstring = acad__strdup(text))) {
    ads_relrb(item);
    return nullptr;
  }
  return item;
}

// Hands the list to AutoLISP and releases it.
void returnList(resbuf* list) {
  if (!list) return;
  ads_retlist(list);
  ads_relrb(list);
}

}  // namespace

int vrml_wrlout() {
  WrlFile file;
  ads_retnil();
  const resbuf* args = ads_getargs();
  // A selection set and a file name; anything after them is not looked at.
  if (!args || args->restype != RTPICKS || !args->rbnext || args->rbnext->restype != RTSTR) {
    ads_printf(messageText(22));
    return RSERR;
  }
  // A file that cannot be created is reported, and the answer stays nil.
  if (!file.open(args->rbnext->resval.rstring)) {
    ads_printf(messageText(7));
    return RSRSLT;
  }
  file.writeHeader();
  exportSelection(args->resval.rlname, file);
  // A full disk is said as VRMLOUT says it, and the answer stays nil.
  int written = !file.writeFailed();
  if (!file.close() || !written) {
    ads_printf(messageText(4));
    return RSRSLT;
  }
  ads_rett();
  return RSRSLT;
}

int vrml_geturl() {
  WrlUrl url;
  ads_retnil();
  int read = 0;
  if (readFromArgument(23, url, read) != RSRSLT) return RSERR;
  if (!read) return RSRSLT;
  resbuf* list = textItem(url.url());
  if (list && !(list->rbnext = textItem(url.description()))) {
    ads_relrb(list);
    list = nullptr;
  }
  returnList(list);
  return RSRSLT;
}

int vrml_getmaterial() {
  WrlMaterial material;
  ads_retnil();
  int read = 0;
  if (readFromArgument(24, material, read) != RSRSLT) return RSERR;
  if (!read || !material.valid()) return RSRSLT;
  returnList(ads_buildlist(RTSHORT, material.useAcadColor(), RTREAL, material.shininess(), RTREAL,
                           material.transparency(), 0));
  return RSRSLT;
}
