#include "wrl_xdata.h"

#include "acadmem.h"
#include "afx.h"

namespace wrl_xdata {

Builder::Builder(const char* appName) {
  ads_regapp(appName);  // a name registered earlier is as good
  addString(kAppName, appName);
}

resbuf* Builder::append(int code) {
  if (m_spoiled) return nullptr;
  resbuf* item = ads_newrb(code);
  if (!item) {
    m_spoiled = true;
    return nullptr;
  }
  *m_tail = item;
  m_tail = &item->rbnext;
  return item;
}

void Builder::addString(int code, const char* text) {
  resbuf* item = append(code);
  if (!item) return;
  item->resval.rstring = acad__strdup(text);  // the list frees its strings
  if (!item->resval.rstring) m_spoiled = true;
}

void Builder::addShort(int code, int value) {
  if (resbuf* item = append(code)) item->resval.rint = static_cast<short>(value);
}

void Builder::addReal(int code, double value) {
  if (resbuf* item = append(code)) item->resval.rreal = value;
}

int Builder::attachTo(AcDbObject* object) const {
  if (m_spoiled) return 0;
  return object->setXData(m_head) == Acad::eOk ? 1 : 0;
}

Reader::Reader(const AcDbObject* object, const char* appName) {
  Acad::ErrorStatus status;
  m_list = object->xData(appName, status);
  if (status == Acad::eOutOfMemory) AfxThrowMemoryException();
  m_next = m_list;
}

const resbuf* Reader::take(int code) {
  if (!m_next || m_next->restype != code) return nullptr;
  const resbuf* item = m_next;
  m_next = m_next->rbnext;
  return item;
}

}  // namespace wrl_xdata
