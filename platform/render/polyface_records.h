// A polyface's VERTEX records read down to what its mesh is made of: a
// vertex's point, or a face's vertex numbers. A polyface whose vertices are
// streamed from the drawing file has them read and parsed on a second thread
// while the caller builds the mesh and its polygons go on: parsing the
// records costs as much as everything else the mesh needs.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <span>
#include <string_view>
#include <thread>
#include <vector>

#include "entity_view.h"
#include "geometry.h"

namespace render {

// A POLYLINE's flag (70) for a polyface mesh.
constexpr int64_t kPolyfaceMesh = 64;

struct PolyfaceRecord {
  bool isVertex = false;              // a vertex of the mesh, not a face
  bool valid = true;                  // every value it was read from is a number
  Vec3 at;                            // a vertex's point
  int64_t numbers[4] = {0, 0, 0, 0};  // a face's vertex numbers (71 to 74), 0 where absent
};

// One record from its geometry tags: the flags (70) tell a vertex from a
// face, and only the values that kind uses are read.
PolyfaceRecord readPolyfaceRecord(TagSpan tags);
// The same from the record's text, split without keeping its tags; false
// when the text is not tag lines.
bool readPolyfaceRecord(std::string_view text, PolyfaceRecord& record);

// A face record's corners, vertex numbers from 1 made mesh numbers from 0
// (a negative number only hides the edge, 0 is no corner); how many, or -1
// when one names a vertex past the `vertexCount` read before it.
int faceCorners(const PolyfaceRecord& face, uint64_t vertexCount, int32_t corners[4]);

// The VERTEX records whose texts follow each other in `text`, read into
// `parts` in one pass; the points look into `text`. False when a record is
// not tag lines, a tag would start in one record and end in the next, or a
// flag or vertex number is not a number (the parts are left empty): the
// records are then read from their tags, which show the fault as they do.
bool readPolyfaceParts(std::string_view text, std::span<const TextFollower> vertices, PolyfaceParts& parts);

// A polyface's records one after another, in the drawing's order.
class PolyfaceRecords {
 public:
  explicit PolyfaceRecords(const EntityView& entity);
  // Stops the second thread, however far it read.
  ~PolyfaceRecords();
  PolyfaceRecords(const PolyfaceRecords&) = delete;
  PolyfaceRecords& operator=(const PolyfaceRecords&) = delete;

  // The next record, valid until the next call; null at the end, and when
  // the file no longer holds the vertices (then failed()). What went wrong
  // reading on the second thread is thrown here, after the records read
  // before it.
  const PolyfaceRecord* next();
  bool failed() const { return m_failed; }

 private:
  // Records go over a piece of the file at a time: the reader runs ahead of
  // the builder by no more than these chunks hold.
  static constexpr size_t kChunks = 3;

  void startReading();
  void read();  // on the second thread
  bool takeChunk();

  const EntityView& m_entity;
  VertexWalk m_walk;
  std::vector<PolyfaceRecord> m_chunks[kChunks];
  PolyfaceRecord m_one;  // read on this thread, without a second one
  size_t m_taken = 0;    // of the chunk being handed out
  bool m_failed = false;

  std::thread m_reader;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  // Chunks filled by the reader and given back by the builder, counted from
  // the first; chunk n sits in m_chunks[n % kChunks].
  size_t m_filled = 0;
  size_t m_given = 0;
  bool m_handing = false;  // the builder holds chunk m_given
  bool m_done = false;     // the reader is through, with m_readFailed and m_error
  bool m_readFailed = false;
  bool m_stopping = false;
  std::exception_ptr m_error;
};

}  // namespace render
