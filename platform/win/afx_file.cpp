// Exceptions and the buffered file of the framework.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "afx.h"
#include "file_faults.h"

namespace {

struct FileFaults {
  bool writesArmed = false;
  uint64_t bytesLeft = 0;
  bool closeArmed = false;
};
FileFaults g_faults;

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

CFile::CFile() : m_hFile(hFileNull), m_buffered(0) {}

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
  return TRUE;
}

void CFile::writeThrough(const char* data, size_t count) {
  while (count > 0) {
    ssize_t written = ::write(m_hFile, data, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      int osError = written < 0 ? errno : ENOSPC;
      AfxThrowFileException(CFileException::OsErrorToCause(osError), osError);
    }
    data += written;
    count -= static_cast<size_t>(written);
  }
}

void CFile::Write(const void* data, UINT count) {
  if (m_hFile == hFileNull) AfxThrowFileException(CFileException::invalidFile, EBADF);
  chargeFaultBudget(count);
  if (m_buffered + count > kBufferSize) Flush();
  if (count >= kBufferSize) {
    writeThrough(static_cast<const char*>(data), count);
    return;
  }
  std::memcpy(m_buffer + m_buffered, data, count);
  m_buffered += count;
}

void CFile::Flush() {
  if (m_hFile == hFileNull || m_buffered == 0) return;
  size_t pending = m_buffered;
  m_buffered = 0;  // a failed flush drops the bytes the disk refused, as the disk did
  writeThrough(m_buffer, pending);
}

void CFile::Close() {
  if (m_hFile == hFileNull) return;
  Flush();
  if (g_faults.closeArmed) {
    g_faults.closeArmed = false;
    AfxThrowFileException(CFileException::hardIO, EIO);
  }
  int fd = m_hFile;
  m_hFile = hFileNull;
  if (::close(fd) != 0) AfxThrowFileException(CFileException::OsErrorToCause(errno), errno);
}

void CFile::Abort() {
  if (m_hFile == hFileNull) return;
  ::close(m_hFile);
  m_hFile = hFileNull;
  m_buffered = 0;
}
