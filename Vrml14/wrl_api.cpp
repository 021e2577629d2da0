// AutoLISP handlers that export a selection set and read an object's link
// and material. Each sets nil as its result first, so every way out that sets
// nothing else returns nil.
#include "wrl_api.h"

#include "StdAfx.h"
#include "afx.h"
#include "dbmain.h"
#include "message.h"
#include "res/resource.h"
#include "wrl_file.h"
#include "wrl_mat.h"
#include "wrl_out.h"
#include "wrl_scope.h"
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

// Opens the named object for read. Null when the name has no object, the
// object cannot be opened, or it is no database object (closed again then).
OpenObject<> openForRead(const ads_name name) {
  AcDbObjectId id;
  AcDbObject* object = nullptr;
  if (acdbGetObjectId(id, name) != Acad::eOk) return nullptr;
  if (acdbOpenAcDbObject(object, id, AcDb::kForRead) != Acad::eOk) return nullptr;
  if (object->isKindOf(AcDbObject::desc())) return OpenObject<>(object);
  if (object->close() != Acad::eOk) acrx_abort("Failed AcDbObject::close()");
  return nullptr;
}

// Reads the record from the object that the only argument names. RSERR on a
// usage error or an object that cannot be opened; otherwise RSRSLT, with
// `read` holding what readFromObject answered. The object is closed again,
// also when the read runs out of memory.
template <typename Record>
int readFromArgument(int usageMessage, Record& record, int& read) {
  const resbuf* args = entityArgument(usageMessage);
  if (!args) return RSERR;
  OpenObject<> object = openForRead(args->resval.rlname);
  if (!object) return RSERR;
  read = record.readFromObject(object.get());
  return RSRSLT;
}

// A result list the host made, released when its holder goes.
using ResultList = wrl_scope::Held<resbuf, ads_relrb>;

// An RTSTR item holding a copy of the text, or RTNIL for no text. Memory
// that runs out is the framework's error: the answer must not pass for an
// object without data.
ResultList textItem(const char* text) {
  ResultList item(ads_newrb(text ? RTSTR : RTNIL));
  if (!item || (text && !(item->resval.rstring = acad__strdup(text)))) AfxThrowMemoryException();
  return item;
}

// Hands the list to AutoLISP; the host keeps a copy.
void returnList(const ResultList& list) {
  if (!list || ads_retlist(list.get()) != RTNORM) AfxThrowMemoryException();
}

}  // namespace

int vrml_wrlout() {
  WrlFile file;
  ads_retnil();
  const resbuf* args = ads_getargs();
  // A selection set and a file name; anything after them is not looked at.
  if (!args || args->restype != RTPICKS || !args->rbnext || args->rbnext->restype != RTSTR) {
    ads_printf(messageText(IDS_USAGE_WRLOUT));
    return RSERR;
  }
  // A file that cannot be created is reported, and the answer stays nil.
  if (!file.open(args->rbnext->resval.rstring)) {
    ads_printf(messageText(IDS_CANNOT_CREATE_OUTPUT));
    return RSRSLT;
  }
  file.writeHeader();
  // A loop that broke off (memory short, Cancel) or a full disk is said as
  // VRMLOUT says it, and the answer stays nil: T would pass a partial world
  // for a whole one.
  int written = exportSelection(args->resval.rlname, file) == 1 && !file.writeFailed();
  if (!file.close() || !written) {
    ads_printf(messageText(IDS_CREATE_FAILED));
    return RSRSLT;
  }
  // T that the host cannot take leaves nil, which must not go unexplained.
  if (ads_rett() != RTNORM) AfxThrowMemoryException();
  return RSRSLT;
}

int vrml_geturl() {
  WrlUrl url;
  ads_retnil();
  int read = 0;
  if (readFromArgument(IDS_USAGE_GETURL, url, read) != RSRSLT) return RSERR;
  if (!read) return RSRSLT;
  ResultList list = textItem(url.url());
  list->rbnext = textItem(url.description()).release();
  returnList(list);
  return RSRSLT;
}

int vrml_getmaterial() {
  WrlMaterial material;
  ads_retnil();
  int read = 0;
  if (readFromArgument(IDS_USAGE_GETMATERIAL, material, read) != RSRSLT) return RSERR;
  if (!read || !material.valid()) return RSRSLT;
  returnList(ResultList(ads_buildlist(RTSHORT, material.useAcadColor(), RTREAL, material.shininess(), RTREAL,
                                      material.transparency(), 0)));
  return RSRSLT;
}
