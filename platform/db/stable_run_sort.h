// A stable sort that takes the ascending runs its input already holds. Some
// writers give a drawing's first few records its highest handles: every
// record after them comes out of order, though in long runs in order. A
// merge sort would go over all of them at every one of its twenty levels;
// this one merges the runs, a few dozen, into one.
#pragma once
#include <algorithm>
#include <iterator>
#include <vector>

namespace db {

namespace run_sort_detail {

// Merges the sorted ranges [first, middle) and [middle, last), which follow
// each other, stably, through `buffer`: the shorter side is moved out, and
// what already stands in its place stays.
template <typename It, typename Less, typename T>
void mergeAdjacent(It first, It middle, It last, Less less, std::vector<T>& buffer) {
  // Left elements up to the right's first, and right ones from the left's
  // last on, are in place: an equal left element goes first.
  first = std::upper_bound(first, middle, *middle, less);
  last = std::lower_bound(middle, last, *std::prev(middle), less);
  if (first == middle || middle == last) return;
  if (middle - first <= last - middle) {
    buffer.assign(std::make_move_iterator(first), std::make_move_iterator(middle));
    auto left = buffer.begin();
    It right = middle, out = first;
    while (left != buffer.end() && right != last) *out++ = less(*right, *left) ? std::move(*right++) : std::move(*left++);
    std::move(left, buffer.end(), out);
    return;
  }
  buffer.assign(std::make_move_iterator(middle), std::make_move_iterator(last));
  auto right = buffer.end();
  It left = middle, out = last;
  while (left != first && right != buffer.begin())
    *--out = less(*std::prev(right), *std::prev(left)) ? std::move(*--left) : std::move(*--right);
  std::move_backward(buffer.begin(), right, out);
}

}  // namespace run_sort_detail

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
  std::vector<typename std::iterator_traits<It>::value_type> buffer;  // one for all merges
  // The two runs on top become one; each is where the last left off.
  auto mergeTop = [&] {
    Run top = runs.back();
    runs.pop_back();
    run_sort_detail::mergeAdjacent(runs.back().begin, top.begin, top.end, less, buffer);
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
