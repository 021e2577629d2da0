// Reading entities ahead on a second thread: while the caller's thread
// facets one entity (and the module writes its polygons), the ones after it
// are read from the drawing file and parsed, a large one on its own, small
// ones a run at a time with one read.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "entity_builders.h"
#include "entity_view.h"

namespace db {
class Database;
}

namespace render {

class ViewPrefetch {
 public:
  ViewPrefetch() = default;
  ~ViewPrefetch();
  ViewPrefetch(const ViewPrefetch&) = delete;
  ViewPrefetch& operator=(const ViewPrefetch&) = delete;

  // The view of `record`, valid until the next call: the one read ahead when
  // it was read from this record as it stands, else read now. Null when its
  // tags cannot be read. The view of an entity built ahead (builtAhead())
  // may hold only what its builder read: a face's corners.
  const EntityView* viewOf(const db::Record& record);
  // The mesh of the entity viewOf() handed out last, built ahead with its
  // view; null when it was not.
  const BuiltAhead* builtAhead() const { return m_built; }
  // Starts reading the entities stored after `record` and after those read
  // ahead already, which is what a caller going through a drawing asks for
  // next.
  void readNextAhead(const db::Record& record);
  // Frees the buffers unless entities are being read: they are kept along a
  // run of entities only, and none is left behind after it.
  void releaseIfIdle();
  // The same once the buffers outgrow what a run of small entities needs:
  // those are kept for the next call.
  void trimIfIdle();
  // Waits for the entities being read, then frees everything.
  void settle() {
    finish();
    releaseIfIdle();
  }

 private:
  // Entities planned and read together, in the drawing's order: one large
  // entity, or small ones whose text lies in one piece of the file.
  struct Run {
    std::shared_ptr<const db::DrawingText> text;  // alive while the run is read or used
    uint64_t edits = 0;                           // the database's textEdits() when planned
    std::vector<TextPlan> plans;
    std::vector<uint32_t> serials;
    struct Entity {
      EntityView view;
      BuiltAhead built;
      bool isBuilt = false;
    };
    std::vector<Entity> entities;
    std::string bytes;   // the small entities' text, which their views look into
    size_t used = 0;     // views handed out
    uint32_t after = 0;  // the serial of the record after the run
    bool ok = false;
    size_t held = 0;  // bytes its buffers hold, counted when it was read

    void clear();
    bool current(const db::Record& record) const;
  };

  bool plan(const db::Database& database, uint32_t serial);
  static bool readViews(Run& run);
  static void read(Run& run);
  // The second thread stays while entities are read ahead, and reads
  // m_ahead each time it is asked: a run of small entities is read in less
  // time than starting a thread takes.
  bool startReading();
  void finish();  // waits for the read asked for
  void stopReader();
  void serve();

  std::thread m_reader;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_asked = false;    // a read was asked for and not yet waited for
  bool m_reading = false;  // the second thread has not finished it
  bool m_stopping = false;
  Run m_ready;       // handed out in turn
  Run m_ahead;       // being read, or read, on the second thread
  EntityView m_now;  // an entity not read ahead, read when asked for
  const BuiltAhead* m_built = nullptr;
  // Entities asked for in the drawing's order so far, and the serial the
  // next one has in that order.
  size_t m_turns = 0;
  uint32_t m_expected = 0;
};

}  // namespace render
