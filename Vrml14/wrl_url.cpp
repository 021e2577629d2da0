#include "wrl_url.h"

#include "acadmem.h"
#include "afx.h"
#include "wrl_xdata.h"

namespace {

constexpr const char* kUrlApp = "PE_URL";
constexpr const char* kDescriptionApp = "VRML_Url_Data";

int replaceText(char*& field, const char* text) {
  char* copy = nullptr;
  if (text && !(copy = acad__strdup(text))) return 0;
  acad_free(field);
  field = copy;
  return 1;
}

enum class ReadResult { NoData, Taken, Malformed };

// The name item and a text item after it; the text goes to `field`.
ReadResult readText(const AcDbObject* object, const char* appName, char*& field) {
  wrl_xdata::Reader data(object, appName);
  if (data.empty()) return ReadResult::NoData;
  const resbuf* text = data.take(wrl_xdata::kAppName) ? data.take(wrl_xdata::kString) : nullptr;
  if (!text) return ReadResult::Malformed;
  // A text that cannot be copied must not pass for an object without a link.
  if (!replaceText(field, text->resval.rstring)) AfxThrowMemoryException();
  return ReadResult::Taken;
}

// The application's name item and, when there is a text, the text item.
int attachText(AcDbObject* object, const char* appName, const char* text) {
  wrl_xdata::Builder list(appName);
  if (text) list.addString(wrl_xdata::kString, text);
  return list.attachTo(object);
}

}  // namespace

void WrlUrl::clear() {
  replaceText(m_url, nullptr);
  replaceText(m_description, nullptr);
}

int WrlUrl::setUrl(const char* text) { return replaceText(m_url, text); }

int WrlUrl::setDescription(const char* text) { return replaceText(m_description, text); }

int WrlUrl::readFromObject(const AcDbObject* object) {
  if (!object) return 0;
  if (readText(object, kUrlApp, m_url) == ReadResult::Malformed) return 0;
  return readText(object, kDescriptionApp, m_description) == ReadResult::Malformed ? 0 : 1;
}

// The description follows only a link the host took.
int WrlUrl::writeToObject(AcDbObject* object) const {
  if (!object || !attachText(object, kUrlApp, m_url)) return 0;
  return attachText(object, kDescriptionApp, m_description);
}
