#include "view_prefetch.h"

#include "db/database.h"

namespace acre_detail {
namespace {

// Below this, reading on the caller's thread costs less than handing over.
constexpr size_t kAheadFrom = 256 << 10;

}  // namespace

ViewPrefetch::~ViewPrefetch() { finish(); }

void ViewPrefetch::finish() {
  if (m_reader.joinable()) m_reader.join();
}

bool ViewPrefetch::viewOf(const acdb_detail::Record& record, EntityView& view) {
  finish();
  const acdb_detail::Database* database = acdb_detail::databaseOf(record);
  TextPlan plan;
  bool readAhead = m_ok && database && database->text() == m_text.get() && planOf(record, plan) && plan == m_plan;
  m_ok = false;
  m_text.reset();
  if (!readAhead) return acre_detail::viewOf(record, view);
  std::swap(view, m_view);
  return true;
}

void ViewPrefetch::readNextAhead(const acdb_detail::Record& record) {
  finish();
  const acdb_detail::Database* database = acdb_detail::databaseOf(record);
  const acdb_detail::Record* next = database ? database->bySerial(record.serial + record.followerCount + 1) : nullptr;
  if (!next || !next->entity || !planOf(*next, m_plan) || m_plan.length() < kAheadFrom) return;
  m_text = database->sharedText();
  if (!m_text) return;
  m_reader = std::thread([this] { m_ok = viewFromPlan(m_plan, *m_text, true, m_view); });
}

}  // namespace acre_detail
