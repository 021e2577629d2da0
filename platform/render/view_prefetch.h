// Reading the next large entity on a second thread: while the caller's
// thread facets one polyline (and the module writes its polygons), the next
// one is read from the drawing file and parsed.
#pragma once
#include <memory>
#include <thread>

#include "entity_view.h"

namespace render {

class ViewPrefetch {
 public:
  ViewPrefetch() = default;
  ~ViewPrefetch();
  ViewPrefetch(const ViewPrefetch&) = delete;
  ViewPrefetch& operator=(const ViewPrefetch&) = delete;

  // The view of `record`, valid until the next call: the one read ahead when
  // it was read from this record as it stands, else read now. Null when its
  // tags cannot be read.
  const EntityView* viewOf(const db::Record& record);
  // Starts reading the record stored after `record` and its followers, which
  // is what a caller going through a drawing asks for next. Only an entity
  // worth a thread is read ahead: one of many kilobytes, in one piece.
  void readNextAhead(const db::Record& record);
  // Frees the buffers unless the next entity is being read: they are kept
  // along a run of large entities only, and none is left behind after it.
  void releaseIfIdle();
  // The same for buffers beyond a small entity's: those are kept for the
  // next call.
  void trimIfIdle();
  // Waits for the entity being read, then frees everything.
  void settle() {
    finish();
    releaseIfIdle();
  }

 private:
  void finish();

  std::thread m_reader;
  std::shared_ptr<const db::DrawingText> m_text;  // alive while the reader or the result needs it
  TextPlan m_plan;                                // of the entity read ahead
  uint32_t m_aheadSerial = 0;
  uint64_t m_aheadEdits = 0;  // the database's textEdits() when it was planned
  // The view in use and the one read ahead: their buffers serve in turn, so
  // a run of large entities does not fault in fresh memory for each.
  EntityView m_current;
  EntityView m_next;
  bool m_ok = false;
};

}  // namespace render
