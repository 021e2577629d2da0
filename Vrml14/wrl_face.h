// One polygon of an exported object: three or four point numbers.
#pragma once
#include <cstdint>

class WrlFace {
 public:
  static constexpr int kMaxCorners = 4;

  // Inline: every face of an export is made here.
  // Accepts only 3 or 4; returns 0 and keeps the old count otherwise.
  int setCount(int count) {
    if (count != 3 && count != 4) return 0;
    m_count = count;
    return 1;
  }
  // Stores a point number for corner 0..3, unchecked against any list.
  int setCorner(int corner, int32_t pointIndex) {
    if (corner < 0 || corner >= kMaxCorners) return 0;
    m_index[corner] = pointIndex;
    return 1;
  }

  // 0 until a count was accepted.
  int count() const { return m_count; }
  int32_t corner(int corner) const { return m_index[corner]; }

 private:
  int32_t m_count = 0;
  int32_t m_index[kMaxCorners] = {0, 0, 0, 0};
};
