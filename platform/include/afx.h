// The framework's exception classes and its byte-stream file.
// Errors travel as heap objects thrown by pointer; the catcher ends them
// with Delete().
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "windef.h"

#define AFX_API __attribute__((visibility("default")))

// The root of the framework's classes. Their objects live on the host heap
// whichever side creates or deletes them: a module may delete what the
// platform made, and a deleting destructor compiled into the platform may
// end what a module made.
class AFX_API CObject {
 public:
  static void* operator new(size_t size);
  static void* operator new[](size_t size);
  static void operator delete(void* block) noexcept;
  static void operator delete[](void* block) noexcept;
  // Construction in storage the caller provides, such as static storage.
  static void* operator new(size_t, void* where) noexcept { return where; }
  static void operator delete(void*, void*) noexcept {}
  virtual ~CObject();
};

class AFX_API CException : public CObject {
 public:
  virtual ~CException();
  // Ends a caught error. Errors that live in static storage stay.
  void Delete();

 protected:
  explicit CException(bool autoDelete = true);

 private:
  bool m_autoDelete;
};

class AFX_API CMemoryException : public CException {
 public:
  CMemoryException();
  ~CMemoryException() override;
};

class AFX_API CFileException : public CException {
 public:
  enum Cause {
    none,
    generic,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile,
  };
  explicit CFileException(int cause = none, LONG osError = -1);
  ~CFileException() override;
  // The cause for an operating-system error number.
  static int OsErrorToCause(LONG osError);

  int m_cause;
  LONG m_lOsError;
};

// Throws the one static out-of-memory error (it needs no memory to throw).
[[noreturn]] AFX_API void AfxThrowMemoryException();
[[noreturn]] AFX_API void AfxThrowFileException(int cause, LONG osError = -1);

namespace win {
class WriteBehind;
}

// A file written through a buffer. Write and Close throw CFileException* on
// failure; a failed flush is reported by the call that flushes. Once a
// document grows large, its buffers are written on a second thread, and a
// write that fails there is reported by the next call that hands a buffer
// over, flushes or closes.
class AFX_API CFile : public CObject {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };
  static constexpr int hFileNull = -1;
  static constexpr size_t kBufferSize = 64 * 1024;

  CFile();
  // Releases an open file, writing out what is buffered as far as it goes.
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // FALSE with the cause in `error` (when given) when the file cannot be
  // opened. Exclusive sharing takes an exclusive lock on the file.
  virtual BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr);
  virtual void Write(const void* data, UINT count);
  virtual void Flush();
  // Writes out the buffer and closes; throws when either fails. When the
  // buffer cannot be written out the file stays open.
  virtual void Close();
  // Closes without reporting anything.
  virtual void Abort();

  int m_hFile;

 private:
  void writeThrough(const char* data, size_t count);
  // Passes the full buffer on: written now, or handed to the second thread.
  void passOn();
  // Waits for the second thread, and throws what it could not write.
  void settleBehind();
  void throwIfFailedBehind();
  void stopBehind();

  size_t m_buffered;
  char* m_filling;                  // m_buffer, or the second thread's buffer to fill
  size_t m_capacity = kBufferSize;  // of m_filling
  size_t m_passedOn = 0;            // buffers written since the file was opened
  bool m_document = false;
  std::unique_ptr<win::WriteBehind> m_behind;
  char m_buffer[kBufferSize];
};
