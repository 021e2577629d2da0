// Text drawing files: a group-code line, then a value line, to EOF.
#include <thread>

#include "dxf/readers.h"
#include "dxf/tag_batches.h"
#include "dxf/tag_scan.h"

namespace dxf {
namespace {

std::string quoted(std::string_view text) {
  std::string out = "\"";
  out.append(text.substr(0, 40));
  out.append(text.size() > 40 ? "...\"" : "\"");
  return out;
}

// How a scan that `stop` ended ends the read.
bool finishScan(RecordCollector& collector, const ScanStop& stop) {
  const size_t line = stop.lineNumber + 1;
  switch (stop.problem) {
    case db::TagProblem::None: return collector.finish(stop.lineNumber);
    case db::TagProblem::BadCode: return collector.fail(line, "invalid group code " + quoted(stop.line));
    case db::TagProblem::NoValue:
      return collector.fail(line, "unexpected end of file after group code " + std::to_string(stop.code));
    case db::TagProblem::BadValue: return collector.fail(line + 1, valueProblem(stop.code, stop.line));
  }
  return false;
}

// Tells `progress` now and then how far the records are built.
class ProgressSteps {
 public:
  ProgressSteps(std::string_view data, const ReadProgress& progress) : m_data(data), m_progress(progress) {}
  void reached(const char* at) {
    if (at < m_next || !m_progress) return;
    m_progress(static_cast<size_t>(at - m_data.data()));
    m_next = at + kStep;
  }

 private:
  static constexpr size_t kStep = 16 << 20;
  std::string_view m_data;
  const ReadProgress& m_progress;
  const char* m_next = m_data.data() + kStep;
};

bool readInline(const char* at, const char* end, RecordCollector& collector, ProgressSteps& steps) {
  ScanStop stop = scanTags(at, end, 0, [&](int16_t code, std::string_view value, size_t line, const char* start) {
    if (!collector.add(code, value, line, start)) return false;
    steps.reached(start);
    return !collector.done();
  });
  if (!collector.error().empty()) return false;
  if (collector.done()) return collector.finish(stop.lineNumber);
  return finishScan(collector, stop);
}

// The scanning thread: fills batches until the input ends, a tag is
// malformed or the builder stops taking them.
void scanIntoBatches(const char* at, const char* end, TagBatchRing& ring, FilterAhead filter) {
  size_t lineNumber = 0;
  for (TagBatch* batch = ring.fill(); batch; batch = ring.fill()) {
    ScannedTag* next = batch->room.data();
    ScannedTag* const full = next + batch->room.size();
    batch->stop = scanTags(at, end, lineNumber,
                           [&](int16_t code, std::string_view value, size_t line, const char* start) {
                             if (filter.takes(code, value)) *next++ = {start, value, line, code};
                             return next != full;
                           });
    batch->count = static_cast<size_t>(next - batch->room.data());
    lineNumber = batch->stop.lineNumber;
    batch->last = at >= end || batch->stop.problem != db::TagProblem::None;
    ring.publish();
    if (batch->last) return;
  }
}

bool readScanningAhead(const char* at, const char* end, RecordCollector& collector, ProgressSteps& steps) {
  constexpr size_t kTagsPerBatch = 8192;
  TagBatchRing ring(4, kTagsPerBatch);
  std::jthread scanner(scanIntoBatches, at, end, std::ref(ring), FilterAhead(collector.filter()));
  // However the building ends, the scanner stops before the ring goes.
  struct StopScanner {
    TagBatchRing& ring;
    ~StopScanner() { ring.stop(); }
  } stopScanner{ring};
  for (;;) {
    TagBatch& batch = ring.take();
    std::span<const ScannedTag> tags = batch.tags();
    for (const ScannedTag& tag : tags) {
      if (!collector.add(tag.code, tag.value, tag.line, tag.codeStart)) return false;
      if (collector.done()) return collector.finish(tag.line + 1);
    }
    if (!tags.empty()) steps.reached(tags.back().codeStart);
    if (batch.last) return finishScan(collector, batch.stop);
    ring.release();
  }
}

}  // namespace

std::string valueProblem(int code, std::string_view value) {
  if (db::valueFits(code, value)) return {};
  const char* kind = db::valueKind(code) == db::ValueKind::Double ? "number" : "integer";
  return std::string("invalid ") + kind + " " + quoted(value) + " for group code " + std::to_string(code);
}

bool readAscii(std::string_view data, RecordCollector& collector, const ReadProgress& progress, size_t scanAheadFrom) {
  const char* at = data.data();
  const char* end = at + data.size();
  if (data.substr(0, 3) == "\xEF\xBB\xBF") at += 3;
  ProgressSteps steps(data, progress);
  if (data.size() >= scanAheadFrom) return readScanningAhead(at, end, collector, steps);
  return readInline(at, end, collector, steps);
}

}  // namespace dxf
