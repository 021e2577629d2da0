// One polygon of an exported object: three or four point numbers.
#pragma once
#include <cstdint>

class WrlFace {
 public:
  static constexpr int kMaxCorners = 4;

  // Accepts only 3 or 4; returns 0 and keeps the old count otherwise.
  int setCount(int count);
  // Stores a point number for corner 0..3, unchecked against any list.
  int setCorner(int corner, int32_t pointIndex);

  // 0 until a count was accepted.
  int count() const { return m_count; }
  int32_t corner(int corner) const { return m_index[corner]; }

 private:
  int32_t m_count = 0;
  int32_t m_index[kMaxCorners] = {0, 0, 0, 0};
};
