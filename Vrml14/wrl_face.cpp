#include "wrl_face.h"

int WrlFace::setCount(int count) {
  if (count != 3 && count != 4) return 0;
  m_count = count;
  return 1;
}

int WrlFace::setCorner(int corner, int32_t pointIndex) {
  if (corner < 0 || corner >= kMaxCorners) return 0;
  m_index[corner] = pointIndex;
  return 1;
}
