// Tags passed from the thread that scans a text drawing to the thread that
// builds its records: a ring of batches, filled and emptied in turn, so the
// scanner runs ahead by at most the ring's length.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <span>
#include <string_view>
#include <vector>

#include "dxf/tag_scan.h"

namespace dxf {

struct ScannedTag {
  const char* codeStart;
  std::string_view value;
  size_t line;  // of the code
  int16_t code;
};

// The tags the collector takes, in file order; those it would pass over are
// left out.
struct TagBatch {
  // Room for a whole batch from the start: the scanner writes each tag
  // straight into its place.
  std::vector<ScannedTag> room;
  size_t count = 0;
  bool last = false;  // the scan ended after these tags, for `stop`
  ScanStop stop;
  std::span<const ScannedTag> tags() const { return std::span(room).first(count); }
};

class TagBatchRing {
 public:
  TagBatchRing(size_t batches, size_t tagsPerBatch);

  // The scanner's side: the next batch to fill, empty, or null once the
  // builder has stopped; publish() passes it on.
  TagBatch* fill();
  void publish();
  // The builder's side: the next full batch, waiting for it; release() gives
  // it back for filling. stop() ends the scan early.
  TagBatch& take();
  void release();
  void stop();

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<TagBatch> m_batches;
  size_t m_published = 0;  // batches ever published ...
  size_t m_released = 0;   // ... and given back
  bool m_stopped = false;
};

}  // namespace dxf
