// A generated drawing in a temporary file, removed when it goes out of scope.
#pragma once
#include <cstdint>
#include <string>

#include "generate.h"

class GeneratedDrawing {
 public:
  // Writes about `faces` quads in `shape`; ok() tells whether it worked.
  GeneratedDrawing(DrawingShape shape, int64_t faces, DxfRelease release);
  ~GeneratedDrawing();
  GeneratedDrawing(const GeneratedDrawing&) = delete;
  GeneratedDrawing& operator=(const GeneratedDrawing&) = delete;

  bool ok() const { return m_ok; }
  const std::string& path() const { return m_path; }
  int64_t bytes() const { return m_bytes; }

 private:
  std::string m_path;
  int64_t m_bytes = 0;
  bool m_ok = false;
};
