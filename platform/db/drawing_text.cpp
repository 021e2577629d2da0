#include "db/drawing_text.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace db {
namespace {

bool statOf(int fd, int64_t& size, int64_t& mtimeNs) {
  struct stat info;
  if (::fstat(fd, &info) != 0) return false;
  size = static_cast<int64_t>(info.st_size);
  mtimeNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
  return true;
}

// Reads all `length` bytes at `offset`; false on an error or a short file.
bool readFully(int fd, uint64_t offset, char* out, size_t length, size_t& got) {
  got = 0;
  while (got < length) {
    ssize_t n = ::pread(fd, out + got, length - got, static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    got += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

// The window is made up front: reading a record must not leave a new block behind.
DrawingText::DrawingText(int fd) : m_fd(fd), m_window(std::make_unique_for_overwrite<char[]>(kWindow)) {
  statOf(fd, m_size, m_mtimeNs);
}

DrawingText::DrawingText(std::string_view bytes) : m_bytes(bytes), m_size(static_cast<int64_t>(bytes.size())) {}

DrawingText::~DrawingText() {
  if (m_fd >= 0) ::close(m_fd);
}

bool DrawingText::unchanged() const {
  if (m_fd < 0) return true;
  int64_t size = 0, mtimeNs = 0;
  return statOf(m_fd, size, mtimeNs) && size == m_size && mtimeNs == m_mtimeNs;
}

bool DrawingText::fill(uint64_t offset) const {
  size_t got = 0;
  readFully(m_fd, offset, m_window.get(), kWindow, got);
  m_windowOffset = offset;
  m_windowLength = got;
  return got > 0;
}

bool DrawingText::readAside(uint64_t offset, size_t length, std::string& out) const {
  if (offset > static_cast<uint64_t>(m_size) || length > static_cast<uint64_t>(m_size) - offset) return false;
  if (m_fd < 0) {
    out.assign(m_bytes, offset, length);
    return true;
  }
  out.resize(length);
  size_t got = 0;
  return readFully(m_fd, offset, out.data(), length, got);
}

bool DrawingText::read(uint64_t offset, size_t length, std::string& out) const {
  if (m_fd < 0 || length > kWindow / 2) return readAside(offset, length, out);
  std::optional<std::string_view> bytes = view(offset, length);
  if (!bytes) return false;
  out.assign(bytes->data(), bytes->size());
  return true;
}

std::optional<std::string_view> DrawingText::viewElsewhere(uint64_t offset, size_t length) const {
  if (offset > static_cast<uint64_t>(m_size) || length > static_cast<uint64_t>(m_size) - offset) return std::nullopt;
  if (m_fd < 0) return std::string_view(m_bytes).substr(offset, length);
  if (length > kWindow / 2) return std::nullopt;
  bool inWindow = offset >= m_windowOffset && offset + length <= m_windowOffset + m_windowLength;
  if (!inWindow && (!fill(offset) || length > m_windowLength)) return std::nullopt;
  return std::string_view(m_window.get() + (offset - m_windowOffset), length);
}

}  // namespace db
