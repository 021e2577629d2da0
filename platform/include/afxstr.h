// CString: the framework's owning text. Its code lives in the platform
// library and its blocks come from the host allocator, so a module can hold
// CString members without pulling the C++ library's string into its own code.
#pragma once
#include <cstdarg>

#include "afx.h"
#include "windef.h"
#include "winuser.h"

class AFX_API CString {
 public:
  CString();
  CString(const char* text);  // NOLINT: converts like the framework's CString
  CString(const CString& other);
  CString(CString&& other) noexcept;
  ~CString();

  CString& operator=(const char* text);
  CString& operator=(const CString& other);
  CString& operator=(CString&& other) noexcept;
  CString& operator+=(const char* text);

  int GetLength() const { return m_nLength; }
  BOOL IsEmpty() const { return m_nLength == 0; }
  void Empty();
  char GetAt(int index) const;
  operator const char*() const { return m_pchData; }

  // printf-style formatting into this text.
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void FormatV(const char* format, va_list args);
  // Loads a string of the current resource module; FALSE when it has none.
  BOOL LoadString(UINT id);

  // Direct access for callers that fill the text themselves.
  char* GetBuffer(int minLength);
  void ReleaseBuffer(int newLength = -1);

 private:
  // Replaces the text; keeps the old one when no memory can be had.
  bool assign(const char* text, int length);

  char* m_pchData;  // never null; the shared empty text when nothing is owned
  int m_nLength;
  int m_nCapacity;  // 0 while m_pchData is the shared empty text
};

bool operator==(const CString& a, const char* b);
inline bool operator==(const char* a, const CString& b) { return b == a; }
inline bool operator!=(const CString& a, const char* b) { return !(a == b); }
