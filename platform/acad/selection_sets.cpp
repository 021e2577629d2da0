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

// Live sets in the order they were made, so by number. A loop that makes
// and frees a one-entity set per entity reuses a freed small member list
// and the slot at the end: no allocation per set. All storage goes with
// the last live set.
struct Sets {
  std::vector<Set> live;
  std::vector<std::vector<Entry>> spare;
  long next = 1;
};

// Made before any code runs: an export looks sets up several times an
// entity, and a guarded static costs a call each time.
constinit Sets g_sets;

// The live set `ss` names, or the end of the live sets.
std::vector<Set>::iterator located(const ads_name ss) {
  std::vector<Set>& live = g_sets.live;
  if (!ss || ss[1] != kSetMark) return live.end();
  // The newest set is the one most asked for: a loop's one-entity set.
  if (!live.empty() && live.back().number == ss[0]) return live.end() - 1;
  auto found = std::lower_bound(live.begin(), live.end(), ss[0],
                                [](const Set& set, long wanted) { return set.number < wanted; });
  return found == live.end() || found->number != ss[0] ? live.end() : found;
}

std::vector<Entry>* find(const ads_name ss) {
  auto found = located(ss);
  return found == g_sets.live.end() ? nullptr : &found->members;
}

std::vector<Entry>& create(ads_name ss) {
  Sets& all = g_sets;
  ss[0] = all.next++;
  ss[1] = kSetMark;
  std::vector<Entry> members;
  if (!all.spare.empty()) {
    members = std::move(all.spare.back());
    all.spare.pop_back();
  }
  all.live.push_back({ss[0], std::move(members)});
  return all.live.back().members;
}

void release(std::vector<Set>::iterator set) {
  Sets& all = g_sets;
  constexpr size_t kSpareLists = 4, kSpareCapacity = 64;
  set->members.clear();
  if (all.spare.size() < kSpareLists && set->members.capacity() <= kSpareCapacity)
    all.spare.push_back(std::move(set->members));
  all.live.erase(set);
  if (all.live.empty()) {
    all.live = std::vector<Set>();
    all.spare = std::vector<std::vector<Entry>>();
  }
}

}  // namespace

size_t liveSets() { return g_sets.live.size(); }

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
  if (set == acad::selection::g_sets.live.end()) return RTERROR;
  acad::selection::release(set);
  return RTNORM;
}
