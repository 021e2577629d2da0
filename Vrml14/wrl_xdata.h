// Extended-data lists of the records: building one item by item, walking one
// by position and group code, and releasing what the host handed over.
#pragma once
#include "adslib.h"
#include "dbmain.h"

namespace wrl_xdata {

constexpr int kAppName = 1001;
constexpr int kString = 1000;
constexpr int kReal = 1040;
constexpr int kShort = 1070;

// A list under construction. A result buffer or string copy that the host
// cannot supply spoils the whole list, so that nothing half-built is attached.
class Builder {
 public:
  // Registers the application and starts its list with the name item.
  explicit Builder(const char* appName);
  ~Builder() { ads_relrb(m_head); }
  Builder(const Builder&) = delete;
  Builder& operator=(const Builder&) = delete;

  void addString(int code, const char* text);
  void addShort(int code, int value);
  void addReal(int code, double value);

  // Hands the list to the object: 1 when complete and accepted.
  int attachTo(AcDbObject* object) const;

 private:
  resbuf* append(int code);

  resbuf* m_head = nullptr;
  resbuf** m_tail = &m_head;
  bool m_spoiled = false;
};

// The data of one application of an object, released when done.
class Reader {
 public:
  Reader(const AcDbObject* object, const char* appName) : m_list(object->xData(appName)), m_next(m_list) {}
  ~Reader() { ads_relrb(m_list); }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  bool empty() const { return m_list == nullptr; }
  // The next item when it carries `code`, else null (and the walk stays).
  const resbuf* take(int code);

 private:
  resbuf* m_list;
  const resbuf* m_next;
};

}  // namespace wrl_xdata
