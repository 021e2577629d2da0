#include "dxf/tag_batches.h"

namespace dxf {

TagBatchRing::TagBatchRing(size_t batches, size_t tagsPerBatch) : m_batches(batches) {
  for (TagBatch& batch : m_batches) batch.room.resize(tagsPerBatch);
}

TagBatch* TagBatchRing::fill() {
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [this] { return m_stopped || m_published - m_released < m_batches.size(); });
  if (m_stopped) return nullptr;
  TagBatch& batch = m_batches[m_published % m_batches.size()];
  batch.count = 0;
  return &batch;
}

void TagBatchRing::publish() {
  {
    std::lock_guard lock(m_mutex);
    ++m_published;
  }
  m_changed.notify_all();
}

TagBatch& TagBatchRing::take() {
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [this] { return m_published > m_released; });
  return m_batches[m_released % m_batches.size()];
}

void TagBatchRing::release() {
  {
    std::lock_guard lock(m_mutex);
    ++m_released;
  }
  m_changed.notify_all();
}

void TagBatchRing::stop() {
  {
    std::lock_guard lock(m_mutex);
    m_stopped = true;
  }
  m_changed.notify_all();
}

}  // namespace dxf
