#include "polyface_records.h"

#include <utility>

#include "tag_reader.h"

namespace render {

namespace {
constexpr int64_t kPolyfaceMesh = 64;  // POLYLINE flag
constexpr int64_t kVertexOfMesh = 64;  // VERTEX flag: a vertex, not a face record
}  // namespace

bool isPolyface(TagSpan ownTags) {
  TagReader tags(ownTags);
  int64_t flags = tags.integer(70);
  return tags.valid() && (flags & kPolyfaceMesh);
}

PolyfaceRecord readPolyfaceRecord(TagSpan tags) {
  TagReader reader(tags);
  const db::TagView* found[5];
  reader.findCodes(70, found);
  PolyfaceRecord record;
  record.isVertex = reader.integerOf(found[0]) & kVertexOfMesh;
  if (record.isVertex) {
    record.at = reader.point(10);
  } else {
    for (int corner = 0; corner < 4; ++corner) record.numbers[corner] = reader.integerOf(found[corner + 1]);
  }
  record.valid = reader.valid();
  return record;
}

PolyfaceRecords::PolyfaceRecords(const EntityView& entity) : m_walk(entity) {
  // Vertices in the view were parsed with it: only streamed ones are worth
  // a thread.
  if (entity.streamed.source) startReading();
}

PolyfaceRecords::~PolyfaceRecords() {
  if (!m_reader.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_changed.notify_all();
  m_reader.join();
}

bool PolyfaceRecords::startReading() {
  // The chunks are the reader's to fill, allocated here: it then only
  // allocates to read the file, and a shortage there is handed over.
  try {
    for (std::vector<PolyfaceRecord>& chunk : m_chunks) chunk.reserve(kChunkRecords);
    m_reader = std::thread([this] { read(); });
  } catch (...) {
    // Without a thread, the records are read here as they are asked for.
    for (std::vector<PolyfaceRecord>& chunk : m_chunks) std::vector<PolyfaceRecord>().swap(chunk);
    return false;
  }
  return true;
}

void PolyfaceRecords::read() {
  for (bool more = true; more;) {
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_changed.wait(lock, [this] { return m_filled - m_given < kChunks || m_stopping; });
      if (m_stopping) return;
    }
    std::vector<PolyfaceRecord>& chunk = m_chunks[m_filled % kChunks];
    chunk.clear();
    std::exception_ptr error;
    try {
      TagSpan vertex;
      while (chunk.size() < kChunkRecords && (more = m_walk.next(vertex))) chunk.push_back(readPolyfaceRecord(vertex));
    } catch (...) {
      error = std::current_exception();
      more = false;
    }
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      if (!chunk.empty()) ++m_filled;
      if (!more) {
        m_done = true;
        m_readFailed = m_walk.failed();
        m_error = error;
      }
    }
    m_changed.notify_all();
  }
}

bool PolyfaceRecords::takeChunk() {
  std::unique_lock<std::mutex> lock(m_mutex);
  if (m_handing) {
    m_handing = false;
    ++m_given;
    m_changed.notify_all();
  }
  m_changed.wait(lock, [this] { return m_filled > m_given || m_done; });
  if (m_filled > m_given) {
    m_handing = true;
    m_taken = 0;
    return true;
  }
  m_failed = m_readFailed;
  if (m_error) std::rethrow_exception(std::exchange(m_error, nullptr));
  return false;
}

const PolyfaceRecord* PolyfaceRecords::next() {
  if (!m_reader.joinable()) {
    TagSpan vertex;
    if (!m_walk.next(vertex)) {
      m_failed = m_walk.failed();
      return nullptr;
    }
    m_one = readPolyfaceRecord(vertex);
    return &m_one;
  }
  const std::vector<PolyfaceRecord>* chunk = &m_chunks[m_given % kChunks];
  if (!m_handing || m_taken == chunk->size()) {
    if (!takeChunk()) return nullptr;
    chunk = &m_chunks[m_given % kChunks];
  }
  return &(*chunk)[m_taken++];
}

}  // namespace render
