// A record's type name ("3DFACE", "LAYER", ...), kept as a number: a drawing
// holds millions of records but only a handful of type names, so each name is
// stored once for the whole process.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace db {

class RecordType {
 public:
  RecordType() = default;
  RecordType(std::string_view name) : m_id(idOf(name)) {}  // NOLINT: names convert freely

  std::string_view name() const { return s_names[m_id]; }
  operator std::string_view() const { return name(); }
  std::string str() const { return std::string(name()); }
  bool empty() const { return m_id == 0; }

  friend bool operator==(RecordType a, RecordType b) { return a.m_id == b.m_id; }
  friend bool operator==(RecordType a, std::string_view b) { return a.name() == b; }
  friend bool operator==(RecordType a, const char* b) { return a.name() == b; }

 private:
  static uint32_t idOf(std::string_view name);
  // The names by id, read on every comparison; the table moves as it grows.
  static const std::string_view* s_names;
  uint32_t m_id = 0;  // 0: no type (a record that does not start with group 0)
};

}  // namespace db
