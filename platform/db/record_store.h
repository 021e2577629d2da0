// The records of one database in the order they were stored, in blocks of
// thousands: a record never moves once stored, and a million records cost a
// few hundred allocations, not the hundred thousand small blocks (each with
// its own overhead) of a deque.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "db/record.h"

namespace db {

class RecordStore {
 public:
  static constexpr size_t kBlock = 4096;

  RecordStore() = default;
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;
  ~RecordStore() {
    for (size_t i = 0; i < m_size; ++i) std::destroy_at(&at(i));
  }

  // A block's records are made as they come, not all when it is taken:
  // the store is written once.
  Record& push(Record&& record) {
    if (m_size % kBlock == 0) m_blocks.push_back(Block(std::allocator<Record>().allocate(kBlock)));
    Record* stored = std::construct_at(&at(m_size), std::move(record));
    ++m_size;
    return *stored;
  }
  size_t size() const { return m_size; }
  Record& operator[](size_t i) { return at(i); }
  const Record& operator[](size_t i) const { return m_blocks[i / kBlock].get()[i % kBlock]; }

  // Walks records by their place in the store.
  class Cursor {
   public:
    Cursor(const RecordStore* store, size_t place) : m_store(store), m_place(place) {}
    const Record& operator*() const { return (*m_store)[m_place]; }
    const Record* operator->() const { return &(*m_store)[m_place]; }
    Cursor& operator++() {
      ++m_place;
      return *this;
    }
    bool operator==(const Cursor& other) const { return m_place == other.m_place; }
    size_t place() const { return m_place; }

   private:
    const RecordStore* m_store;
    size_t m_place;
  };
  Cursor begin() const { return {this, 0}; }
  Cursor end() const { return {this, m_size}; }

 private:
  Record& at(size_t i) { return m_blocks[i / kBlock].get()[i % kBlock]; }

  struct Unmade {
    void operator()(Record* block) const { std::allocator<Record>().deallocate(block, kBlock); }
  };
  using Block = std::unique_ptr<Record, Unmade>;
  std::vector<Block> m_blocks;
  size_t m_size = 0;
};

}  // namespace db
