#include "polyface_records.h"

#include <utility>

#include "db/record_tags.h"
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

bool readPolyfaceRecord(std::string_view text, PolyfaceRecord& record) {
  // The first of each code the record is read from, in the order they come:
  // what the view's tags of the record would give.
  class FirstTags {
   public:
    bool operator()(int16_t code, std::string_view value) {
      int bit = code == 10 ? 0 : code == 20 ? 1 : code == 30 ? 2 : code >= 70 && code <= 74 ? code - 67 : -1;
      if (bit >= 0 && !(m_seen >> bit & 1)) {
        m_seen |= 1u << bit;
        m_tags[m_count++] = {code, value};
      }
      return false;
    }
    TagSpan tags() const { return TagSpan(m_tags, m_count); }

   private:
    db::TagView m_tags[8];
    size_t m_count = 0;
    unsigned m_seen = 0;
  } first;
  std::vector<db::TagView> none;  // every tag is passed over
  if (!db::parseTagText(text, none, [&first](int16_t code, std::string_view value) { return first(code, value); }))
    return false;
  record = readPolyfaceRecord(first.tags());
  return true;
}

PolyfaceRecords::PolyfaceRecords(const EntityView& entity) : m_entity(entity), m_walk(entity) {
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
  try {
    m_reader = std::thread([this] { read(); });
  } catch (...) {
    // Without a thread, the records are read here as they are asked for.
    return false;
  }
  return true;
}

// A piece's records go over whole or not at all, as its vertices would be
// handed out by a walk.
void PolyfaceRecords::read() {
  const StreamedVertices& streamed = m_entity.streamed;
  size_t next = 0;
  uint64_t offset = streamed.offset;
  std::string text;
  for (bool more = next < streamed.followers.size(); more;) {
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_changed.wait(lock, [this] { return m_filled - m_given < kChunks || m_stopping; });
      if (m_stopping) return;
    }
    std::vector<PolyfaceRecord>& chunk = m_chunks[m_filled % kChunks];
    chunk.clear();
    std::exception_ptr error;
    bool read = false;
    try {
      read = readFollowerPiece(streamed, next, offset, text, [&chunk](std::string_view vertex) {
        PolyfaceRecord record;
        if (!readPolyfaceRecord(vertex, record)) return false;
        chunk.push_back(record);
        return true;
      });
    } catch (...) {
      error = std::current_exception();
    }
    if (!read) chunk.clear();
    more = read && next < streamed.followers.size();
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      if (!chunk.empty()) ++m_filled;
      if (!more) {
        m_done = true;
        m_readFailed = !read && !error;
        m_error = error;
      }
    }
    m_changed.notify_all();
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  m_done = true;
  m_changed.notify_all();
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
