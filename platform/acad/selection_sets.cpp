// Selection sets: creation, length, members, additions and release.
#include <algorithm>
#include <vector>

#include "acad/selection.h"
#include "adslib.h"
#include "db/database.h"

namespace acad::selection {
namespace {

// The second long of a set's name; entity names carry their drawing's number there.
constexpr long kSetMark = -0x5353;

struct Entry {
  long serial;
  long drawing;
};

struct Set {
  long number;
  std::vector<Entry> members;
};

// Live sets in the order they were made, so by number, then a few freed
// ones parked with their emptied member lists. A loop that makes and frees
// a one-entity set per entity takes the parked set back: no allocation and
// no moving of lists per set. All storage goes with the last live set.
struct Sets {
  std::vector<Set> sets;
  size_t live = 0;
  long next = 1;
  std::vector<Set>::iterator liveEnd() { return sets.begin() + static_cast<std::ptrdiff_t>(live); }
};

constexpr size_t kParkedSets = 4, kParkedCapacity = 64;

// Made before any code runs: an export looks sets up several times an
// entity, and a guarded static costs a call each time.
constinit Sets g_sets;

// The live set numbered `number`, or the end of the live sets.
[[gnu::noinline]] std::vector<Set>::iterator searched(long number) {
  auto end = g_sets.liveEnd();
  auto found = std::lower_bound(g_sets.sets.begin(), end, number,
                                [](const Set& set, long wanted) { return set.number < wanted; });
  return found == end || found->number != number ? end : found;
}

// The live set `ss` names, or the end of the live sets. Inline in every
// call: each entity of an export asks it three times.
[[gnu::always_inline]] inline std::vector<Set>::iterator located(const ads_name ss) {
  Sets& all = g_sets;
  auto end = all.liveEnd();
  if (!ss || ss[1] != kSetMark) return end;
  // The newest set is the one most asked for: a loop's one-entity set.
  if (all.live > 0 && end[-1].number == ss[0]) return end - 1;
  return searched(ss[0]);
}

[[gnu::always_inline]] inline std::vector<Entry>* find(const ads_name ss) {
  auto found = located(ss);
  return found == g_sets.liveEnd() ? nullptr : &found->members;
}

// Out of line: the common make takes a parked set and saves no registers.
[[gnu::noinline]] void addPlace() { g_sets.sets.emplace_back(); }

std::vector<Entry>& create(ads_name ss) {
  Sets& all = g_sets;
  ss[0] = all.next++;
  ss[1] = kSetMark;
  if (all.live == all.sets.size()) addPlace();
  Set& set = all.sets[all.live++];
  set.number = ss[0];
  return set.members;
}

void release(std::vector<Set>::iterator set) {
  Sets& all = g_sets;
  set->members.clear();
  if (set->members.capacity() > kParkedCapacity) set->members = std::vector<Entry>();
  // Parked right after the live sets, which stay in the order they were made.
  std::rotate(set, set + 1, all.liveEnd());
  if (--all.live == 0) all.sets = std::vector<Set>();
  else if (all.sets.size() - all.live > kParkedSets) all.sets.pop_back();
}

}  // namespace

size_t liveSets() { return g_sets.live; }

void makeSet(const std::vector<db::Record*>& entities, ads_name ss) {
  std::vector<Entry>& set = create(ss);
  set.reserve(entities.size());
  for (db::Record* record : entities)
    set.push_back({static_cast<long>(record->serial), db::databaseOf(*record)->serial()});
}

}  // namespace acad::selection

using acad::selection::find;

extern "C" int ads_sslength(const ads_name ss, long* length) {
  auto* set = find(ss);
  if (!set || !length) return RTERROR;
  *length = static_cast<long>(set->size());
  return RTNORM;
}

extern "C" int ads_ssname(const ads_name ss, long index, ads_name entity) {
  auto* set = find(ss);
  if (!set || !entity || index < 0 || static_cast<size_t>(index) >= set->size()) return RTERROR;
  entity[0] = (*set)[static_cast<size_t>(index)].serial;
  entity[1] = (*set)[static_cast<size_t>(index)].drawing;
  return RTNORM;
}

// No entity: a new empty set. No set: a new set of the entity. Both: the
// entity joins the set (once) and the result names that set.
extern "C" int ads_ssadd(const ads_name entity, const ads_name ss, ads_name result) {
  if (!result) return RTERROR;
  db::Record* record = nullptr;
  if (entity) {
    record = db::recordOf(entity);
    if (!record || !record->entity || record->erased) return RTERROR;
  }
  std::vector<acad::selection::Entry>* set = nullptr;
  if (ss) {
    set = find(ss);
    if (!set) return RTERROR;
    result[0] = ss[0];
    result[1] = ss[1];
  } else {
    set = &acad::selection::create(result);
  }
  if (record) {
    for (const auto& member : *set)
      if (member.serial == entity[0] && member.drawing == entity[1]) return RTNORM;
    set->push_back({entity[0], entity[1]});
  }
  return RTNORM;
}

extern "C" int ads_ssfree(const ads_name ss) {
  auto set = acad::selection::located(ss);
  if (set == acad::selection::g_sets.liveEnd()) return RTERROR;
  acad::selection::release(set);
  return RTNORM;
}
