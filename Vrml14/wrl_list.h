// An ordered, append-only list of value entries held in one block from the
// host allocator, so that a million facets cost a handful of allocations.
// Every operation that needs memory reports a shortage as its result and
// leaves the list as it was.
#pragma once
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

#include "acadmem.h"

template <typename Entry>
class WrlList {
  static_assert(std::is_trivially_copyable_v<Entry> && std::is_trivially_destructible_v<Entry>,
                "entries are moved as bytes");

 public:
  WrlList() = default;
  ~WrlList() { acad_free(m_entries); }
  WrlList(const WrlList&) = delete;
  WrlList& operator=(const WrlList&) = delete;

  size_t size() const { return m_size; }
  const Entry& at(size_t position) const { return m_entries[position]; }
  const Entry* begin() const { return m_entries; }
  const Entry* end() const { return m_entries + m_size; }

  // Empties the list, keeping its block for the next entries.
  void clear() { m_size = 0; }

  // Appends a copy; 0 when memory is short.
  int add(const Entry& entry) {
    if (m_size == m_capacity && !grow(m_size + 1)) return 0;
    new (m_entries + m_size) Entry(entry);
    ++m_size;
    return 1;
  }

  // Takes over an entry made with new: appended and destroyed here. An
  // absent entry is ignored (0, list unchanged); so is one that finds no room.
  int add(Entry* owned) {
    if (!owned) return 0;
    int added = add(*owned);
    delete owned;
    return added;
  }

  // Appends every entry of `other` in order; 0 and nothing appended when
  // memory is short.
  int append(const WrlList& other) {
    if (other.m_size > SIZE_MAX / sizeof(Entry) - m_size) return 0;
    if (m_size + other.m_size > m_capacity && !grow(m_size + other.m_size)) return 0;
    for (size_t i = 0; i < other.m_size; ++i) new (m_entries + m_size + i) Entry(other.m_entries[i]);
    m_size += other.m_size;
    return 1;
  }

 private:
  bool grow(size_t needed) {
    size_t capacity = m_capacity < 16 ? 16 : m_capacity;
    while (capacity < needed) capacity = capacity > SIZE_MAX / 2 ? needed : capacity * 2;
    if (capacity > SIZE_MAX / sizeof(Entry)) return false;
    void* block = acad_realloc(m_entries, capacity * sizeof(Entry));
    if (!block) return false;
    m_entries = static_cast<Entry*>(block);
    m_capacity = capacity;
    return true;
  }

  Entry* m_entries = nullptr;
  size_t m_size = 0;
  size_t m_capacity = 0;
};
