// A stable sort that takes the ascending runs its input already holds. Some
// writers give a drawing's first few records its highest handles: every
// record after them comes out of order, though in order among themselves.
// A merge sort would go over all of them again at every one of its twenty
// levels; this one merges the few short runs, then the long one once.
#pragma once
#include <algorithm>
#include <iterator>
#include <vector>

namespace db {

// The order std::stable_sort gives: equal elements keep their order.
template <typename It, typename Less>
void stableRunSort(It first, It last, Less less) {
  // Shorter runs are made this long by inserting: input in no order then
  // costs a few merges, not one for every pair of elements.
  constexpr std::ptrdiff_t kShortestRun = 32;
  struct Run {
    It begin, end;
    std::ptrdiff_t size() const { return end - begin; }
  };
  std::vector<Run> runs;
  // The two runs on top become one; each is where the last left off.
  auto mergeTop = [&] {
    Run top = runs.back();
    runs.pop_back();
    std::inplace_merge(runs.back().begin, top.begin, top.end, less);
    runs.back().end = top.end;
  };
  for (It at = first; at != last;) {
    It end = std::next(at);
    while (end != last && !less(*end, *std::prev(end))) ++end;
    It shortest = last - at > kShortestRun ? at + kShortestRun : last;
    // After the elements equal to it: the insertion keeps their order.
    for (; end < shortest; ++end) std::rotate(std::upper_bound(at, end, *end, less), end, std::next(end));
    runs.push_back({at, end});
    at = end;
    // A run is merged into the one before it once that is no longer: the
    // runs below stay longer than those above, and there are few of them.
    while (runs.size() >= 2 && runs[runs.size() - 2].size() <= runs.back().size()) mergeTop();
  }
  while (runs.size() >= 2) mergeTop();
}

}  // namespace db
