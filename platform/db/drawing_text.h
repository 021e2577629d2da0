// The bytes of the text drawing file a database was read from, for the
// records that leave their tags there. The file stays open, so a later save
// over the same name still reads the original bytes.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace db {

class DrawingText {
 public:
  // Keeps the open file `fd` (closed by the destructor).
  explicit DrawingText(int fd);
  // Keeps a copy of `bytes`, for drawings read from memory.
  explicit DrawingText(std::string_view bytes);
  ~DrawingText();
  DrawingText(const DrawingText&) = delete;
  DrawingText& operator=(const DrawingText&) = delete;

  // The `length` bytes at `offset`, into `out`; false when the file no longer
  // holds them (it was cut short or changed since it was read).
  bool read(uint64_t offset, size_t length, std::string& out) const;
  // The same past the window: safe on another thread beside read(). `out`
  // is overwritten: a buffer that held as much already is not cleared first.
  bool readAside(uint64_t offset, size_t length, std::string& out) const;
  // The `length` bytes at `offset` where they lie, for a look that ends
  // before the next read: nothing copied. Empty when the file no longer
  // holds them or they are more than read() keeps in its window.
  std::optional<std::string_view> view(uint64_t offset, size_t length) const {
    // Inline for bytes the window holds: an export looks at every entity's
    // first tags there.
    const uint64_t size = static_cast<uint64_t>(m_size), intoWindow = offset - m_windowOffset;
    if (m_fd >= 0 && offset <= size && length <= size - offset && length <= kWindow / 2 &&
        intoWindow <= m_windowLength && length <= m_windowLength - intoWindow)
      return std::string_view(m_window.get() + intoWindow, length);
    return viewElsewhere(offset, length);
  }
  // Whether the file is still what was read: same size and modification time.
  bool unchanged() const;

 private:
  static constexpr size_t kWindow = 1 << 20;
  std::optional<std::string_view> viewElsewhere(uint64_t offset, size_t length) const;
  bool fill(uint64_t offset) const;

  int m_fd = -1;
  std::string m_bytes;  // the whole text when read from memory
  int64_t m_size = 0;
  int64_t m_mtimeNs = 0;
  // A window over the file: records are mostly read in file order. Left
  // unset until read into: a drawing may never be read from.
  std::unique_ptr<char[]> m_window;
  mutable uint64_t m_windowOffset = 0;
  mutable size_t m_windowLength = 0;
};

}  // namespace db
