#include "face_file.h"

#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "acadmem.h"

namespace render {

namespace {
void appendLine(std::vector<char>& text, const char* format, auto... values) {
  char line[160];
  int length = std::snprintf(line, sizeof line, format, values...);
  if (length > 0) text.insert(text.end(), line, line + std::min<size_t>(length, sizeof line - 1));
}

std::string temporaryDirectory() {
  const char* dir = std::getenv("TMPDIR");
  return dir && *dir ? dir : "/tmp";
}
}  // namespace

void FaceFile::addEntity(std::string_view type, uint64_t handle, const std::vector<BatchCounts>& batches) {
  appendLine(m_text, "facets %.*s %" PRIX64 "\n", static_cast<int>(std::min<size_t>(type.size(), 64)), type.data(),
             handle);
  for (const BatchCounts& batch : batches) {
    appendLine(m_text, "batch %" PRId32 " %" PRId32 "\n", batch.vertices, batch.polygons);
    m_vertices += static_cast<uint64_t>(batch.vertices);
    m_polygons += static_cast<uint64_t>(batch.polygons);
  }
}

char* FaceFile::write() const {
  std::vector<char> text = m_text;
  appendLine(text, "total %" PRIu64 " %" PRIu64 "\n", m_vertices, m_polygons);
  std::string path = temporaryDirectory() + "/acre_XXXXXX.fac";
  int fd = mkstemps(path.data(), 4);
  if (fd < 0) return nullptr;
  size_t written = 0;
  while (written < text.size()) {
    ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  bool complete = ::close(fd) == 0 && written == text.size();
  char* name = complete ? acad__strdup(path.c_str()) : nullptr;
  if (!name) ::unlink(path.c_str());
  return name;
}

}  // namespace render
