// The hyperlink of one object: a URL and its description, each owned and
// either absent or present (an empty text is present).
#pragma once

class AcDbObject;

class WrlUrl {
 public:
  WrlUrl() = default;
  ~WrlUrl() { clear(); }
  WrlUrl(const WrlUrl&) = delete;
  WrlUrl& operator=(const WrlUrl&) = delete;

  // Releases both texts; both are absent afterwards.
  void clear();
  // Replace the text by a copy of `text`, or make it absent for null.
  // 0 and nothing changed when no copy can be made.
  int setUrl(const char* text);
  int setDescription(const char* text);

  const char* url() const { return m_url; }
  const char* description() const { return m_description; }

  // The URL from the host's hyperlink data, the description from the
  // module's own; a text with no data stays as it was.
  int readFromObject(const AcDbObject* object);
  // Replaces the link's list on the object, then the description's (an
  // absent text removes that application's data). 1 when both were taken;
  // 0 when either was refused, the description then unwritten if the link was.
  int writeToObject(AcDbObject* object) const;

 private:
  char* m_url = nullptr;
  char* m_description = nullptr;
};
