// Buffered writing to an open file, remembering the first failure.
#pragma once
#include <cstdio>
#include <string>
#include <string_view>

namespace dxf {

class FileOutput {
 public:
  // The buffer grows to a chunk only when the drawing needs it: reserving it
  // up front cost a megabyte per save, however small the drawing.
  explicit FileOutput(std::FILE* file) : m_file(file) {}
  void put(std::string_view bytes) {
    m_buffer.append(bytes);
    if (m_buffer.size() >= kChunk) flush();
  }
  void put(char byte) { m_buffer.push_back(byte); }
  // Hands what is buffered to the file; false once any write has failed.
  bool flush() {
    if (m_ok && !m_buffer.empty()) m_ok = std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) == m_buffer.size();
    m_buffer.clear();
    return m_ok;
  }

 private:
  static constexpr size_t kChunk = 1 << 20;
  std::FILE* m_file;
  std::string m_buffer;
  bool m_ok = true;
};

}  // namespace dxf
