// Exceptions and the buffered file of the framework.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "afx.h"
#include "file_faults.h"
#include "write_behind.h"

namespace {

struct FileFaults {
  bool writesArmed = false;
  uint64_t bytesLeft = 0;
  bool closeArmed = false;
};
FileFaults g_faults;

// A document this many buffers long has the rest written on a second thread:
// a small file is not worth one.
constexpr size_t kWrittenBehindFrom = 4;
// The second thread's buffers are larger: each hand-over costs a wake-up.
constexpr size_t kBehindBufferSize = 1 << 20;

[[noreturn]] void throwOsError(int osError) { AfxThrowFileException(CFileException::OsErrorToCause(osError), osError); }

// Accepts `count` more bytes, or throws as a full disk would.
void chargeFaultBudget(size_t count) {
  if (!g_faults.writesArmed) return;
  if (count > g_faults.bytesLeft) AfxThrowFileException(CFileException::diskFull, ENOSPC);
  g_faults.bytesLeft -= count;
}

}  // namespace

namespace win::file_faults {
void failWritesAfter(uint64_t bytes) {
  g_faults.writesArmed = true;
  g_faults.bytesLeft = bytes;
}
void failNextClose() { g_faults.closeArmed = true; }
void disarm() { g_faults = FileFaults{}; }
}  // namespace win::file_faults

CException::CException(bool autoDelete) : m_autoDelete(autoDelete) {}
CException::~CException() = default;
void CException::Delete() {
  if (m_autoDelete) delete this;
}

CMemoryException::CMemoryException() : CException(false) {}
CMemoryException::~CMemoryException() = default;

CFileException::CFileException(int cause, LONG osError) : m_cause(cause), m_lOsError(osError) {}
CFileException::~CFileException() = default;

int CFileException::OsErrorToCause(LONG osError) {
  switch (osError) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return accessDenied;
    case EBADF: return invalidFile;
    case EWOULDBLOCK: return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return diskFull;
    case EIO: return hardIO;
    default: return generic;
  }
}

void AfxThrowMemoryException() {
  static CMemoryException outOfMemory;
  throw &outOfMemory;
}

void AfxThrowFileException(int cause, LONG osError) { throw new CFileException(cause, osError); }

CFile::CFile() : m_hFile(hFileNull), m_buffered(0), m_filling(m_buffer) {}

CFile::~CFile() {
  if (m_hFile == hFileNull) return;
  try {
    Flush();
  } catch (CException* error) {
    error->Delete();
  }
  Abort();
}

BOOL CFile::Open(LPCTSTR fileName, UINT openFlags, CFileException* error) {
  auto fail = [error](int osError) {
    if (error) {
      error->m_lOsError = osError;
      error->m_cause = CFileException::OsErrorToCause(osError);
    }
    return FALSE;
  };
  if (m_hFile != hFileNull || !fileName) return fail(EBADF);
  int access = (openFlags & 3) == modeWrite ? O_WRONLY : (openFlags & 3) == modeReadWrite ? O_RDWR : O_RDONLY;
  int flags = access | O_CLOEXEC;
  if (openFlags & modeCreate) flags |= O_CREAT | ((openFlags & modeNoTruncate) ? 0 : O_TRUNC);
  int fd = ::open(fileName, flags, 0666);
  if (fd < 0) return fail(errno);
  // Sharing is a matter of documents: a device such as /dev/full is shared by
  // every process on the machine, and locking it would refuse them all.
  struct stat info {};
  bool document = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (document && (openFlags & 0x70) == shareExclusive && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int lockError = errno;
    ::close(fd);
    return fail(lockError);
  }
  m_hFile = fd;
  m_buffered = 0;
  m_filling = m_buffer;
  m_passedOn = 0;
  m_document = document;
  return TRUE;
}

void CFile::writeThrough(const char* data, size_t count) {
  if (int osError = win::writeAll(m_hFile, data, count)) throwOsError(osError);
}

void CFile::passOn() {
  size_t pending = m_buffered;
  m_buffered = 0;  // a failed write drops the bytes the disk refused, as the disk did
  if (!m_behind && m_document && ++m_passedOn >= kWrittenBehindFrom) {
    m_behind = win::WriteBehind::start(m_hFile, kBehindBufferSize);
    if (m_behind) {
      m_filling = m_behind->filling();
      m_capacity = kBehindBufferSize;
      writeThrough(m_buffer, pending);
      return;
    }
  }
  if (!m_behind) {
    writeThrough(m_buffer, pending);
    return;
  }
  m_behind->handOver(pending);
  m_filling = m_behind->filling();
  throwIfFailedBehind();
}

void CFile::throwIfFailedBehind() {
  if (int osError = m_behind->takeError()) throwOsError(osError);
}

void CFile::settleBehind() {
  if (!m_behind) return;
  m_behind->settle();
  throwIfFailedBehind();
}

// Whatever was handed over is written (or refused) before the file closes.
void CFile::stopBehind() {
  m_behind.reset();
  m_filling = m_buffer;
  m_capacity = kBufferSize;
}

void CFile::Write(const void* data, UINT count) {
  if (m_hFile == hFileNull) AfxThrowFileException(CFileException::invalidFile, EBADF);
  chargeFaultBudget(count);
  if (count >= kBufferSize) {
    if (m_buffered > 0) passOn();
    settleBehind();
    writeThrough(static_cast<const char*>(data), count);
    return;
  }
  if (m_buffered + count > m_capacity) passOn();
  std::memcpy(m_filling + m_buffered, data, count);
  m_buffered += count;
}

void CFile::Flush() {
  if (m_hFile == hFileNull) return;
  if (m_buffered > 0) passOn();
  settleBehind();
}

void CFile::Close() {
  if (m_hFile == hFileNull) return;
  Flush();
  if (g_faults.closeArmed) {
    g_faults.closeArmed = false;
    AfxThrowFileException(CFileException::hardIO, EIO);
  }
  stopBehind();
  int fd = m_hFile;
  m_hFile = hFileNull;
  if (::close(fd) != 0) AfxThrowFileException(CFileException::OsErrorToCause(errno), errno);
}

void CFile::Abort() {
  if (m_hFile == hFileNull) return;
  stopBehind();
  ::close(m_hFile);
  m_hFile = hFileNull;
  m_buffered = 0;
}
