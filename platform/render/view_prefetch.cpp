#include "view_prefetch.h"

#include <algorithm>

#include "db/database.h"

namespace render {
namespace {

// An entity of this much text is worth a thread of its own; smaller ones are
// read together, up to this much text in a run.
constexpr size_t kAheadFrom = 256 << 10;
// Runs of small entities start short and double while the caller takes
// every entity in turn: a caller that jumps about wastes little.
constexpr size_t kFirstRun = 16;
constexpr size_t kLongestRun = 1024;
// Buffers kept for the next entity, at most, and the largest entity read
// ahead: one huge entity is read when asked for, and does not hold its
// memory until the process ends.
constexpr size_t kKeepAtMost = 64 << 20;
// What two runs of small entities hold: kept from call to call.
constexpr size_t kKeepForRuns = 4 << 20;

size_t bytesHeld(const EntityView& view) {
  size_t bytes = view.storage.capacity() * sizeof(db::TagView) + view.polyface.points.capacity() * sizeof(PolyfaceParts::Point) +
                 view.polyface.faces.capacity() * sizeof(PolyfaceParts::Face);
  for (const auto& text : view.texts) bytes += text->capacity();
  return bytes;
}

void dropIfHuge(EntityView& view) {
  if (bytesHeld(view) > kKeepAtMost) view = EntityView();
}

}  // namespace

void ViewPrefetch::Run::clear() {
  text.reset();
  serials.clear();
  used = 0;
  ok = false;
}

bool ViewPrefetch::Run::current(const db::Record& record) const {
  if (!ok || used >= serials.size() || serials[used] != record.serial) return false;
  // The text held alive tells this drawing from any other; within it, a
  // record's place in the text changes only when some record is edited.
  const db::Database* database = db::databaseOf(record);
  return database && database->text() == text.get() && database->textEdits() == edits;
}

ViewPrefetch::~ViewPrefetch() { stopReader(); }

bool ViewPrefetch::startReading() {
  if (!m_reader.joinable()) {
    m_stopping = false;
    // Without a thread, entities are read when asked for.
    try {
      m_reader = std::thread([this] { serve(); });
    } catch (...) {
      return false;
    }
  }
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_reading = true;
  }
  m_asked = true;
  m_changed.notify_all();
  return true;
}

void ViewPrefetch::serve() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [this] { return m_reading || m_stopping; });
    if (m_stopping) return;
    lock.unlock();
    read(m_ahead);
    lock.lock();
    m_reading = false;
    m_changed.notify_all();
  }
}

void ViewPrefetch::finish() {
  if (!m_asked) return;
  std::unique_lock<std::mutex> lock(m_mutex);
  m_changed.wait(lock, [this] { return !m_reading; });
  m_asked = false;
}

void ViewPrefetch::stopReader() {
  finish();
  if (!m_reader.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_changed.notify_all();
  m_reader.join();
}

const EntityView* ViewPrefetch::viewOf(const db::Record& record) {
  bool inTurn = m_ready.current(record);
  if (!inTurn) {
    // The run handed out is done with: the next one follows, if it was read.
    finish();
    std::swap(m_ready, m_ahead);
    m_ahead.clear();
    inTurn = m_ready.current(record);
    // A large entity read now is not held beside the ones read ahead.
    if (inTurn && bytesHeld(m_now) > kAheadFrom) m_now = EntityView();
  }
  m_turns = inTurn || record.serial == m_expected ? m_turns + 1 : 0;
  m_expected = record.serial + record.followerCount + 1;
  m_built = nullptr;
  if (inTurn) {
    Run::Entity& entity = m_ready.entities[m_ready.used++];
    if (entity.isBuilt) m_built = &entity.built;
    return &entity.view;
  }
  m_ready.clear();
  dropIfHuge(m_now);
  return render::viewOf(record, m_now) ? &m_now : nullptr;
}

void ViewPrefetch::readNextAhead(const db::Record& record) {
  // One run is read ahead at a time, and waits until the one handed out ends.
  if (m_asked || !m_ahead.serials.empty()) return;
  const db::Database* database = db::databaseOf(record);
  if (!database || !database->text()) return;
  bool readyLeft = m_ready.used < m_ready.serials.size();
  if (plan(*database, readyLeft ? m_ready.after : m_expected) && !startReading()) m_ahead.clear();
}

// Plans the run that starts at `serial`: one large entity, or small ones in
// one piece of the file once the caller has taken entities in turn.
bool ViewPrefetch::plan(const db::Database& database, uint32_t serial) {
  Run& run = m_ahead;
  run.clear();
  size_t longest = m_turns < 2 ? 0 : std::min(kLongestRun, kFirstRun << std::min<size_t>(m_turns / kFirstRun, 6));
  uint64_t end = 0;
  size_t bytes = 0;
  for (const db::Record* next = database.bySerial(serial); next && next->entity; next = database.bySerial(serial)) {
    size_t at = run.serials.size();
    if (run.plans.size() == at) run.plans.emplace_back();
    TextPlan& plan = run.plans[at];
    if (!planOf(*next, plan) || plan.length > kKeepAtMost) break;
    bool large = plan.length >= kAheadFrom;
    if (at > 0 && (large || plan.offset != end || bytes + plan.length > kAheadFrom || at == longest)) break;
    if (at == 0 && !large && longest == 0) break;
    run.serials.push_back(next->serial);
    serial = next->serial + next->followerCount + 1;
    end = plan.offset + plan.length;
    bytes += plan.length;
    if (large) break;
  }
  if (run.serials.empty()) return false;
  run.after = serial;
  run.text = database.sharedText();
  run.edits = database.textEdits();
  if (run.entities.size() < run.serials.size()) run.entities.resize(run.serials.size());
  return run.text != nullptr;
}

// The run's views, and the meshes of the entities built ahead.
bool ViewPrefetch::readViews(Run& run) {
  const TextPlan& first = run.plans.front();
  if (run.serials.size() == 1 && first.length >= kAheadFrom) {
    Run::Entity& entity = run.entities.front();
    dropIfHuge(entity.view);
    entity.isBuilt = false;
    return viewFromPlan(first, *run.text, true, entity.view);
  }
  const TextPlan& last = run.plans[run.serials.size() - 1];
  if (!run.text->readAside(first.offset, last.offset + last.length - first.offset, run.bytes)) return false;
  std::string_view bytes = run.bytes;
  for (size_t i = 0; i < run.serials.size(); ++i) {
    const TextPlan& plan = run.plans[i];
    Run::Entity& entity = run.entities[i];
    Builder builder = builderAheadFor(plan.type);
    // An entity built here is handed on as its mesh: its view needs only
    // what the builder reads.
    if (!viewFromPlannedText(plan, bytes.substr(plan.offset - first.offset, plan.length), entity.view,
                             builder != nullptr))
      return false;
    entity.isBuilt = builder != nullptr;
    if (!builder) continue;
    entity.built.mesh.clear();
    entity.built.status = builder(entity.view, entity.built.mesh);
  }
  return true;
}

// On the second thread. Out of memory here only means reading the entities
// again when asked for.
void ViewPrefetch::read(Run& run) {
  try {
    run.ok = readViews(run);
  } catch (...) {
    run.ok = false;
  }
  run.held = run.bytes.capacity();
  for (const Run::Entity& entity : run.entities) run.held += bytesHeld(entity.view) + entity.built.mesh.capacityBytes();
}

void ViewPrefetch::releaseIfIdle() {
  if (m_asked) return;
  stopReader();
  m_built = nullptr;
  m_ready = Run();
  m_ahead = Run();
  m_now = EntityView();
  m_turns = 0;
}

void ViewPrefetch::trimIfIdle() {
  if (m_asked) return;
  if (render::bytesHeld(m_now) > kAheadFrom || m_ready.held + m_ahead.held > kKeepForRuns) releaseIfIdle();
}

}  // namespace render
