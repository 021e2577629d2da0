// A colour both as a colour index (1..255) and as red, green, blue in 0..1.
#pragma once
#include <cstdint>

struct WrlRgb {
  double red;
  double green;
  double blue;
};

class WrlColor {
 public:
  // 1 when 1 <= index <= 255: the index and its palette colour are stored.
  // Otherwise 0 and nothing changes.
  int setIndex(int index);
  // 1 when every component lies in 0..1: they are stored as given and the
  // index becomes the nearest palette entry. Otherwise 0 and nothing changes.
  int setRGB(double red, double green, double blue);

  int index() const { return m_index; }
  double red() const { return m_rgb.red; }
  double green() const { return m_rgb.green; }
  double blue() const { return m_rgb.blue; }

  // The computed palette; `index` must lie in 1..255.
  static WrlRgb aciToRgb(int index);
  // The lowest palette index nearest to the colour; greys search only the
  // grey ramp; the white at the ramp's end is reported as 7.
  static int nearestIndex(double red, double green, double blue);

 private:
  int32_t m_index = 7;
  WrlRgb m_rgb = {1.0, 1.0, 1.0};
};

// The colour index of the named layer of the current drawing, or 7 when the
// name is absent or the layer cannot be read.
int layerColorIndex(const char* layerName);
