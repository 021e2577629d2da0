// Writing a large file on a second thread: the thread that fills the buffers
// hands each one over and goes on with the next while the system copies the
// one before, which for a world of hundreds of megabytes is a third of the
// export. A write that fails is reported by a later call.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>

namespace win {

// Writes all `count` bytes to `fd`: 0, or the system's error code for what
// stopped them.
int writeAll(int fd, const char* data, size_t count);

class WriteBehind {
 public:
  // Writes to `fd`, in the order handed over, buffers of `bufferSize` bytes.
  // Null when there is no memory or thread for it: the caller then writes
  // itself.
  static std::unique_ptr<WriteBehind> start(int fd, size_t bufferSize);
  // Waits for the buffers handed over.
  ~WriteBehind();
  WriteBehind(const WriteBehind&) = delete;
  WriteBehind& operator=(const WriteBehind&) = delete;

  // The buffer to fill next.
  char* filling() const { return m_slots[m_handed % kSlots].get(); }
  // Hands over the first `count` bytes of the buffer being filled, and waits
  // until the next one is free.
  void handOver(size_t count);
  // Waits until every buffer handed over is written.
  void settle();
  // The system's error code for the first write that failed since the last
  // call, or 0.
  int takeError();

 private:
  static constexpr size_t kSlots = 4;
  WriteBehind(int fd, size_t bufferSize);
  void run();

  int m_fd;
  std::unique_ptr<char[]> m_slots[kSlots];
  size_t m_counts[kSlots] = {};
  std::mutex m_mutex;
  std::condition_variable m_changed;
  size_t m_handed = 0;   // buffers ever handed over ...
  size_t m_written = 0;  // ... and written, or refused
  int m_error = 0;
  bool m_stopping = false;
  std::thread m_writer;
};

}  // namespace win
