#include "write_behind.h"

#include <unistd.h>

#include <cerrno>
#include <new>
#include <system_error>

namespace win {

int writeAll(int fd, const char* data, size_t count) {
  while (count > 0) {
    ssize_t written = ::write(fd, data, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return written < 0 ? errno : ENOSPC;
    data += written;
    count -= static_cast<size_t>(written);
  }
  return 0;
}

std::unique_ptr<WriteBehind> WriteBehind::start(int fd, size_t bufferSize) {
  try {
    std::unique_ptr<WriteBehind> behind(new WriteBehind(fd, bufferSize));
    behind->m_writer = std::thread([writer = behind.get()] { writer->run(); });
    return behind;
  } catch (const std::bad_alloc&) {
  } catch (const std::system_error&) {
  }
  return nullptr;
}

WriteBehind::WriteBehind(int fd, size_t bufferSize) : m_fd(fd) {
  for (auto& slot : m_slots) slot = std::make_unique_for_overwrite<char[]>(bufferSize);
}

WriteBehind::~WriteBehind() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_changed.notify_all();
  if (m_writer.joinable()) m_writer.join();
}

void WriteBehind::handOver(size_t count) {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_counts[m_handed % kSlots] = count;
  ++m_handed;
  m_changed.notify_all();
  m_changed.wait(lock, [this] { return m_handed - m_written < kSlots; });
}

void WriteBehind::settle() {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_changed.wait(lock, [this] { return m_written == m_handed; });
}

int WriteBehind::takeError() {
  std::lock_guard<std::mutex> lock(m_mutex);
  int error = m_error;
  m_error = 0;
  return error;
}

// Writes what is handed over; on stopping, what is left first.
void WriteBehind::run() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [this] { return m_written < m_handed || m_stopping; });
    if (m_written == m_handed) return;
    const char* data = m_slots[m_written % kSlots].get();
    size_t count = m_counts[m_written % kSlots];
    lock.unlock();
    int error = writeAll(m_fd, data, count);
    lock.lock();
    if (error && !m_error) m_error = error;
    ++m_written;
    m_changed.notify_all();
  }
}

}  // namespace win
