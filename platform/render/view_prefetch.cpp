#include "view_prefetch.h"

#include "db/database.h"

namespace render {
namespace {

// Below this, reading on the caller's thread costs less than handing over.
constexpr size_t kAheadFrom = 256 << 10;
// Buffers kept for the next entity, at most, and the largest entity read
// ahead: one huge entity is read when asked for, and does not hold its
// memory until the process ends.
constexpr size_t kKeepAtMost = 64 << 20;

size_t bytesHeld(const EntityView& view) {
  size_t bytes = view.storage.capacity() * sizeof(db::TagView);
  for (const auto& text : view.texts) bytes += text->capacity();
  return bytes;
}

void dropIfHuge(EntityView& view) {
  if (bytesHeld(view) > kKeepAtMost) view = EntityView();
}

}  // namespace

ViewPrefetch::~ViewPrefetch() { finish(); }

void ViewPrefetch::finish() {
  if (m_reader.joinable()) m_reader.join();
}

const EntityView* ViewPrefetch::viewOf(const db::Record& record) {
  finish();
  const db::Database* database = db::databaseOf(record);
  // The text held alive tells this drawing from any other; within it, a
  // record's place in the text changes only when some record is edited.
  bool readAhead = m_ok && database && database->text() == m_text.get() && record.serial == m_aheadSerial &&
                   database->textEdits() == m_aheadEdits;
  m_ok = false;
  m_text.reset();
  if (readAhead) {
    std::swap(m_current, m_next);
    return &m_current;
  }
  dropIfHuge(m_current);
  return render::viewOf(record, m_current) ? &m_current : nullptr;
}

void ViewPrefetch::readNextAhead(const db::Record& record) {
  finish();
  const db::Database* database = db::databaseOf(record);
  const db::Record* next = database ? database->bySerial(record.serial + record.followerCount + 1) : nullptr;
  // A small record without followers is told without planning it.
  if (!next || !next->entity || (next->followerCount == 0 && next->textLength < kAheadFrom)) return;
  if (!planOf(*next, m_plan) || m_plan.length < kAheadFrom || m_plan.length > kKeepAtMost) return;
  m_text = database->sharedText();
  if (!m_text) return;
  m_aheadSerial = next->serial;
  m_aheadEdits = database->textEdits();
  dropIfHuge(m_next);
  m_reader = std::thread([this] {
    // Out of memory here only means reading the entity again when asked for.
    try {
      m_ok = viewFromPlan(m_plan, *m_text, true, m_next);
    } catch (...) {
      m_ok = false;
    }
  });
}

void ViewPrefetch::releaseIfIdle() {
  if (m_reader.joinable()) return;
  m_current = EntityView();
  m_next = EntityView();
  m_plan = TextPlan();
  m_text.reset();
  m_ok = false;
}

void ViewPrefetch::trimIfIdle() {
  if (!m_reader.joinable() && bytesHeld(m_current) + bytesHeld(m_next) > kAheadFrom) releaseIfIdle();
}

}  // namespace render
