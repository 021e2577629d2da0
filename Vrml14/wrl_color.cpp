#include "wrl_color.h"

#include "dbmain.h"
#include "wrl_scope.h"

namespace {

constexpr int kFirstIndex = 1;
constexpr int kLastIndex = 255;
constexpr int kFirstGrey = 250;
constexpr int kWhite = 7;

bool inUnitRange(double value) { return value >= 0.0 && value <= 1.0; }  // false for NaN

// Indices 10..249: 24 hues of 15 degrees, five values, full or half saturation.
constexpr WrlRgb hueShade(int index) {
  constexpr double kValues[] = {1.0, 0.65, 0.5, 0.3, 0.15};
  int hueStep = (index - 10) / 10;
  int shade = index % 10;
  double value = kValues[shade / 2];
  double saturation = shade % 2 == 0 ? 1.0 : 0.5;
  double scaledHue = hueStep * 0.25;
  int sector = static_cast<int>(scaledHue);
  double fraction = scaledHue - sector;
  double p = 1.0 - saturation;
  double q = 1.0 - saturation * fraction;
  double t = 1.0 - saturation * (1.0 - fraction);
  WrlRgb unscaled;
  switch (sector) {
    case 0: unscaled = {1.0, t, p}; break;
    case 1: unscaled = {q, 1.0, p}; break;
    case 2: unscaled = {p, 1.0, t}; break;
    case 3: unscaled = {p, q, 1.0}; break;
    case 4: unscaled = {t, p, 1.0}; break;
    default: unscaled = {1.0, p, q}; break;
  }
  return {unscaled.red * value, unscaled.green * value, unscaled.blue * value};
}

constexpr WrlRgb paletteEntry(int index) {
  constexpr WrlRgb kFixed[] = {
      {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1},
  };
  if (index < 10) return kFixed[index - 1];
  if (index < kFirstGrey) return hueShade(index);
  // From 0.33 in steps of 0.134; the last grey, 255, comes out at exactly 1.0.
  double grey = 0.33 - (index - kFirstGrey) * -0.134;
  return {grey, grey, grey};
}

// The palette is searched for every colour an entity gets: computed once, at
// compile time.
struct Palette {
  WrlRgb entries[kLastIndex + 1] = {};
  constexpr Palette() {
    for (int i = kFirstIndex; i <= kLastIndex; ++i) entries[i] = paletteEntry(i);
  }
};
constexpr Palette kPalette;

}  // namespace

WrlRgb WrlColor::aciToRgb(int index) { return kPalette.entries[index]; }

int WrlColor::nearestIndex(double red, double green, double blue) {
  int first = (red == green && green == blue) ? kFirstGrey : kFirstIndex;
  int best = first;
  double bestDistance = 1000.0;
  for (int i = first; i <= kLastIndex; ++i) {
    const WrlRgb& entry = kPalette.entries[i];
    double dr = entry.red - red;
    double dg = entry.green - green;
    double db = entry.blue - blue;
    double distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
      if (distance == 0.0) break;
    }
  }
  // White is the last grey of the palette, but drawings know it as 7.
  return best == kLastIndex ? kWhite : best;
}

int WrlColor::setIndex(int index) {
  if (index < kFirstIndex || index > kLastIndex) return 0;
  m_index = index;
  m_rgb = aciToRgb(index);
  return 1;
}

int WrlColor::setRGB(double red, double green, double blue) {
  if (!inUnitRange(red) || !inUnitRange(green) || !inUnitRange(blue)) return 0;
  m_rgb = {red, green, blue};
  m_index = nearestIndex(red, green, blue);
  return 1;
}

int layerColorIndex(const char* layerName) {
  if (!layerName) return kWhite;
  AcDbDatabase* drawing = acdbCurDwg();
  AcDbLayerTable* table = nullptr;
  if (!drawing || drawing->getLayerTable(table, AcDb::kForRead) != Acad::eOk) return kWhite;
  OpenObject<AcDbLayerTable> tableOpening(table);
  AcDbLayerTableRecord* layer = nullptr;
  if (table->getAt(layerName, layer, AcDb::kForRead) != Acad::eOk) return kWhite;
  OpenObject<AcDbLayerTableRecord> layerOpening(layer);
  return layer->color().colorIndex();
}
