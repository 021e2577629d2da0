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

// The list of one application under construction. A result buffer or
// string copy that the host cannot supply spoils the whole list, so that
// nothing half-built is attached.
class Builder {
 public:
  // Registers the application and starts the list with its name item; the
  // items added after it are its data (none: its data is removed).
  explicit Builder(const char* appName);
  ~Builder() { ads_relrb(m_head); }
  Builder(const Builder&) = delete;
  Builder& operator=(const Builder&) = delete;

  void addString(int code, const char* text);
  void addShort(int code, int value);
  void addReal(int code, double value);

  // Hands the list to the object, which keeps its old data of the
  // application or takes all of the new: 1 when complete and accepted.
  int attachTo(AcDbObject* object) const;

 private:
  resbuf* append(int code);

  resbuf* m_head = nullptr;
  resbuf** m_tail = &m_head;
  bool m_spoiled = false;
};

// The data of one application of an object, released when done. A list the
// host cannot make for lack of memory is the framework's memory error, not
// an object without data.
class Reader {
 public:
  Reader(const AcDbObject* object, const char* appName);
  ~Reader() { ads_relrb(m_list); }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  bool empty() const { return m_list == nullptr; }
  // The next item when it carries `code`, else null (and the walk stays).
  const resbuf* take(int code);

 private:
  resbuf* m_list = nullptr;
  const resbuf* m_next = nullptr;
};

}  // namespace wrl_xdata
