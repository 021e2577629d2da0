// CString on the host allocator.
#include <cstdio>
#include <cstring>

#include "acadmem.h"
#include "afxwin.h"

namespace {
char g_emptyText[1] = {0};
}

CString::CString() : m_pchData(g_emptyText), m_nLength(0), m_nCapacity(0) {}

CString::CString(const char* text) : CString() { *this = text; }

CString::CString(const CString& other) : CString() { assign(other.m_pchData, other.m_nLength); }

CString::CString(CString&& other) noexcept
    : m_pchData(other.m_pchData), m_nLength(other.m_nLength), m_nCapacity(other.m_nCapacity) {
  other.m_pchData = g_emptyText;
  other.m_nLength = 0;
  other.m_nCapacity = 0;
}

CString::~CString() {
  if (m_nCapacity) acad_free(m_pchData);
}

CString& CString::operator=(const char* text) {
  assign(text ? text : "", text ? static_cast<int>(std::strlen(text)) : 0);
  return *this;
}

CString& CString::operator=(const CString& other) {
  if (this != &other) assign(other.m_pchData, other.m_nLength);
  return *this;
}

CString& CString::operator=(CString&& other) noexcept {
  if (this != &other) {
    if (m_nCapacity) acad_free(m_pchData);
    m_pchData = other.m_pchData;
    m_nLength = other.m_nLength;
    m_nCapacity = other.m_nCapacity;
    other.m_pchData = g_emptyText;
    other.m_nLength = 0;
    other.m_nCapacity = 0;
  }
  return *this;
}

CString& CString::operator+=(const char* text) {
  if (!text || !*text) return *this;
  int added = static_cast<int>(std::strlen(text));
  char* buffer = GetBuffer(m_nLength + added);
  if (buffer) {
    std::memmove(buffer + m_nLength, text, added + 1);
    m_nLength += added;
  }
  return *this;
}

void CString::Empty() {
  if (m_nCapacity) acad_free(m_pchData);
  m_pchData = g_emptyText;
  m_nLength = 0;
  m_nCapacity = 0;
}

char CString::GetAt(int index) const { return index >= 0 && index < m_nLength ? m_pchData[index] : '\0'; }

bool CString::assign(const char* text, int length) {
  char* block = static_cast<char*>(acad_malloc(static_cast<size_t>(length) + 1));
  if (!block) return false;
  std::memcpy(block, text, length);
  block[length] = '\0';
  if (m_nCapacity) acad_free(m_pchData);
  m_pchData = block;
  m_nLength = length;
  m_nCapacity = length + 1;
  return true;
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::FormatV(const char* format, va_list args) {
  // Most texts are short (a count on a progress line): formatted once here,
  // then copied into the buffer the string already has when it is enough.
  char small[256];
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (length < 0) {
    Empty();
    return;
  }
  bool fitted = static_cast<size_t>(length) < sizeof small;
  if (fitted && length < m_nCapacity) {
    std::memcpy(m_pchData, small, static_cast<size_t>(length) + 1);
    m_nLength = length;
    return;
  }
  char* block = static_cast<char*>(acad_malloc(static_cast<size_t>(length) + 1));
  if (!block) return;
  if (fitted) std::memcpy(block, small, static_cast<size_t>(length) + 1);
  else std::vsnprintf(block, static_cast<size_t>(length) + 1, format, args);
  if (m_nCapacity) acad_free(m_pchData);
  m_pchData = block;
  m_nLength = length;
  m_nCapacity = length + 1;
}

BOOL CString::LoadString(UINT id) {
  const char* text = AfxFindStringResource(AfxGetResourceHandle(), id);
  if (!text) return FALSE;
  *this = text;
  return TRUE;
}

char* CString::GetBuffer(int minLength) {
  if (minLength < m_nLength) minLength = m_nLength;
  if (m_nCapacity > minLength) return m_pchData;
  char* block = static_cast<char*>(acad_malloc(static_cast<size_t>(minLength) + 1));
  if (!block) return nullptr;
  std::memcpy(block, m_pchData, m_nLength + 1);
  if (m_nCapacity) acad_free(m_pchData);
  m_pchData = block;
  m_nCapacity = minLength + 1;
  return m_pchData;
}

void CString::ReleaseBuffer(int newLength) {
  if (!m_nCapacity) return;
  if (newLength < 0) newLength = static_cast<int>(std::strlen(m_pchData));
  if (newLength >= m_nCapacity) newLength = m_nCapacity - 1;
  m_pchData[newLength] = '\0';
  m_nLength = newLength;
}

bool operator==(const CString& a, const char* b) { return std::strcmp(a, b ? b : "") == 0; }
