#include "polyface_records.h"

#include <array>
#include <utility>

#include "db/number_text.h"
#include "db/record_tags.h"
#include "tag_reader.h"

namespace render {

namespace {

constexpr int64_t kVertexOfMesh = 64;  // VERTEX flag: a vertex, not a face record

// The first value of each code a record is read from, taken as its tags
// pass; then the record from them, as TagReader reads values: an absent one
// is 0, one that is not a number marks the record.
class RecordValues {
 public:
  // Notes the tag's value if the record is read from it; keeps no tag.
  void operator()(int16_t code, std::string_view value) {
    int slot = static_cast<uint16_t>(code) < kSlots.size() ? kSlots[static_cast<uint16_t>(code)] : -1;
    if (slot >= 0 && !(m_seen >> slot & 1)) {
      m_seen |= 1u << slot;
      m_values[slot] = value;
    }
  }

  // Ready for the next record: the values of the last are left, unseen.
  void restart() { m_seen = 0; }

  PolyfaceRecord record() const {
    PolyfaceRecord record;
    record.isVertex = isVertex(record.valid);
    if (record.isVertex) record.at = {realAt(0, record.valid), realAt(1, record.valid), realAt(2, record.valid)};
    else readNumbers(record);
    return record;
  }

  // The record's parts: its flags, a face's vertex numbers, a vertex's
  // coordinates as written.
  bool isVertex(bool& valid) const { return integerAt(3, valid) & kVertexOfMesh; }
  void readNumbers(PolyfaceRecord& face) const {
    for (int corner = 0; corner < 4; ++corner) face.numbers[corner] = integerAt(4 + corner, face.valid);
  }
  PolyfaceParts::Point point() const { return {textAt(0), textAt(1), textAt(2)}; }

 private:
  int64_t integerAt(int slot, bool& valid) const {
    if (!(m_seen >> slot & 1)) return 0;
    std::string_view text = m_values[slot];
    int64_t value = 0;
    if (db::parsePlainInteger(text, value)) return value;
    if (TagReader::parseInteger(text, value)) return value;
    valid = false;
    return 0;
  }
  std::string_view textAt(int slot) const { return m_seen >> slot & 1 ? m_values[slot] : std::string_view(); }
  double realAt(int slot, bool& valid) const {
    double value = 0;
    if (!(m_seen >> slot & 1)) return 0;
    if (TagReader::parseReal(m_values[slot], value)) return value;
    valid = false;
    return 0;
  }

  // 10, 20, 30 (the point), 70 (the flags), 71 to 74 (the vertex numbers);
  // looked up, as every tag of every record passes.
  static constexpr std::array<int8_t, 75> kSlots = [] {
    std::array<int8_t, 75> slots{};
    slots.fill(-1);
    slots[10] = 0, slots[20] = 1, slots[30] = 2;
    for (int code = 70; code <= 74; ++code) slots[code] = static_cast<int8_t>(code - 67);
    return slots;
  }();
  std::string_view m_values[8];
  unsigned m_seen = 0;
};

}  // namespace

PolyfaceRecord readPolyfaceRecord(TagSpan tags) {
  RecordValues values;
  for (const db::TagView& tag : tags) values(tag.code, tag.value);
  return values.record();
}

int faceCorners(const PolyfaceRecord& face, uint64_t vertexCount, int32_t corners[4]) {
  int count = 0;
  for (int64_t number : face.numbers) {
    // Unsigned: the most negative number has no positive.
    uint64_t magnitude = number < 0 ? 0 - static_cast<uint64_t>(number) : static_cast<uint64_t>(number);
    if (magnitude == 0) continue;
    if (magnitude > vertexCount) return -1;
    corners[count++] = static_cast<int32_t>(magnitude - 1);
  }
  return count;
}

bool readPolyfaceParts(std::string_view text, std::span<const TextFollower> vertices, PolyfaceParts& parts) {
  parts.clear();
  if (vertices.empty()) return false;
  RecordEnds ends(text.data(), vertices);
  bool valid = true;
  RecordValues values;
  // The record read so far goes into the parts, and the next one starts.
  auto finish = [&] {
    PolyfaceRecord record;
    record.isVertex = values.isVertex(record.valid);
    if (record.isVertex) parts.points.push_back(values.point());
    else values.readNumbers(record);
    values.restart();
    valid = valid && record.valid;
    if (record.isVertex) return;
    PolyfaceParts::Face face{};
    face.count = faceCorners(record, parts.points.size(), face.corner);
    // Fewer than three corners make no polygon.
    if (face.count >= 3) parts.faces.push_back(face);
  };
  bool whole = db::forEachTag(text, [&](int16_t code, std::string_view value) {
    ends.reach(value.data(), finish);
    values(code, value);
    // What follows a fault is read on and thrown away: faults are rare, a
    // check for them at every tag is not.
    return true;
  });
  if (whole && !ends.straddles()) ends.finish(finish);
  if (!whole || ends.straddles() || !valid) {
    parts.clear();
    return false;
  }
  parts.read = true;
  return true;
}

bool readPolyfaceRecord(std::string_view text, PolyfaceRecord& record) {
  RecordValues values;
  if (!db::forEachTag(text, [&values](int16_t code, std::string_view value) {
        values(code, value);
        return true;
      }))
    return false;
  record = values.record();
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

void PolyfaceRecords::startReading() {
  try {
    m_reader = std::thread([this] { read(); });
  } catch (...) {
    // Without a thread, the records are read here as they are asked for.
  }
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
  // Also when there was nothing to read.
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
