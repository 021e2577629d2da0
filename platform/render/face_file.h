// The face file: a small text file in the temporary directory that lists
// what one facetting delivered, one line per batch:
//   facets <TYPE> <handle in hex>     for each entity
//   batch <vertices> <polygons>
//   total <vertices> <polygons>
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "batch_emitter.h"

namespace render {

class FaceFile {
 public:
  void addEntity(std::string_view type, uint64_t handle, const std::vector<BatchCounts>& batches);
  // Writes the file; its name comes from the host allocator (the caller frees
  // it), null when the file could not be written.
  char* write() const;

 private:
  std::vector<char> m_text;
  uint64_t m_vertices = 0;
  uint64_t m_polygons = 0;
};

}  // namespace render
