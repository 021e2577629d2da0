#include "generated_drawing.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

GeneratedDrawing::GeneratedDrawing(DrawingShape shape, int64_t faces, DxfRelease release) {
  static int serial = 0;
  m_path = (std::filesystem::temp_directory_path() /
            ("bench_" + std::to_string(getpid()) + "_" + std::to_string(++serial) + ".dxf"))
               .string();
  std::FILE* file = std::fopen(m_path.c_str(), "wb");
  if (!file) return;
  const bool written = writeDrawing(file, shape, faces, release);
  m_ok = std::fclose(file) == 0 && written;
  std::error_code error;
  m_bytes = static_cast<int64_t>(std::filesystem::file_size(m_path, error));
}

GeneratedDrawing::~GeneratedDrawing() {
  std::error_code error;
  std::filesystem::remove(m_path, error);
}
