#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "wrl_color.h"

namespace {

std::string printed(const WrlRgb& rgb) {
  char text[128];
  std::snprintf(text, sizeof text, "%.6f %.6f %.6f", rgb.red, rgb.green, rgb.blue);
  return text;
}

struct TellingRow {
  int index;
  const char* rgb;
};

}  // namespace

TEST(WrlColorPalette, TellingRowsPrintAsPublished) {
  const TellingRow rows[] = {
      {1, "1.000000 0.000000 0.000000"},   {5, "0.000000 0.000000 1.000000"},   {7, "1.000000 1.000000 1.000000"},
      {8, "1.000000 1.000000 1.000000"},   {9, "1.000000 1.000000 1.000000"},   {10, "1.000000 0.000000 0.000000"},
      {11, "1.000000 0.500000 0.500000"},  {12, "0.650000 0.000000 0.000000"},  {15, "0.500000 0.250000 0.250000"},
      {18, "0.150000 0.000000 0.000000"},  {19, "0.150000 0.075000 0.075000"},  {20, "1.000000 0.250000 0.000000"},
      {40, "1.000000 0.750000 0.000000"},  {50, "1.000000 1.000000 0.000000"},  {60, "0.750000 1.000000 0.000000"},
      {90, "0.000000 1.000000 0.000000"},  {130, "0.000000 1.000000 1.000000"}, {170, "0.000000 0.000000 1.000000"},
      {210, "1.000000 0.000000 1.000000"}, {240, "1.000000 0.000000 0.250000"}, {249, "0.150000 0.075000 0.093750"},
      {250, "0.330000 0.330000 0.330000"}, {251, "0.464000 0.464000 0.464000"}, {254, "0.866000 0.866000 0.866000"},
      {255, "1.000000 1.000000 1.000000"},
  };
  for (const TellingRow& row : rows) EXPECT_EQ(printed(WrlColor::aciToRgb(row.index)), row.rgb) << row.index;
  EXPECT_EQ(WrlColor::aciToRgb(255).red, 1.0);
}

TEST(WrlColorPalette, EveryEntryLiesInTheUnitCube) {
  for (int i = 1; i <= 255; ++i) {
    WrlRgb rgb = WrlColor::aciToRgb(i);
    for (double c : {rgb.red, rgb.green, rgb.blue}) {
      EXPECT_GE(c, 0.0) << i;
      EXPECT_LE(c, 1.0) << i;
    }
  }
}

TEST(WrlColorNearest, TiesGoToTheLowestIndexAndGreysSearchTheRampOnly) {
  EXPECT_EQ(WrlColor::nearestIndex(1, 0, 0), 1);  // 10 has the same colour
  EXPECT_EQ(WrlColor::nearestIndex(1, 1, 0), 2);
  EXPECT_EQ(WrlColor::nearestIndex(0, 0, 1), 5);
  EXPECT_EQ(WrlColor::nearestIndex(0, 0, 0), 250);
  EXPECT_EQ(WrlColor::nearestIndex(0.3, 0.3, 0.3), 250);
  EXPECT_EQ(WrlColor::nearestIndex(0.6, 0.6, 0.6), 252);  // 0.598, not 0.464 or 0.732
  EXPECT_EQ(WrlColor::nearestIndex(0.4, 0.4, 0.4), 251);  // 0.464 is nearer than 0.33
  EXPECT_EQ(WrlColor::nearestIndex(1, 1, 1), 7);          // 255 reported as 7
  EXPECT_EQ(WrlColor::nearestIndex(0.95, 0.95, 0.95), 7);
  EXPECT_EQ(WrlColor::nearestIndex(0.15, 0.075, 0.09375), 249);
  EXPECT_EQ(WrlColor::nearestIndex(0.64, 0.01, 0.0), 12);
  // Almost grey but not exactly: the whole palette is searched, white 7 first.
  EXPECT_EQ(WrlColor::nearestIndex(1.0, 1.0, 0.9999), 7);
}

TEST(WrlColorNearest, EveryPaletteEntryFindsAnIndexOfTheSameColour) {
  for (int i = 1; i <= 255; ++i) {
    WrlRgb rgb = WrlColor::aciToRgb(i);
    int found = WrlColor::nearestIndex(rgb.red, rgb.green, rgb.blue);
    EXPECT_LE(found, i) << i;
    EXPECT_EQ(printed(WrlColor::aciToRgb(found)), printed(rgb)) << i;
  }
}

TEST(WrlColorSetters, SetIndexTakesThePaletteAndRefusesOutsideOneTo255) {
  WrlColor color;
  EXPECT_EQ(color.setIndex(12), 1);
  EXPECT_EQ(color.index(), 12);
  EXPECT_EQ(color.red(), 0.65);
  for (int bad : {0, 256, -1, 1000}) {
    EXPECT_EQ(color.setIndex(bad), 0) << bad;
    EXPECT_EQ(color.index(), 12);
    EXPECT_EQ(color.red(), 0.65);
  }
  for (int white : {7, 8, 9, 255}) {
    ASSERT_EQ(color.setIndex(white), 1);
    EXPECT_EQ(printed({color.red(), color.green(), color.blue()}), "1.000000 1.000000 1.000000");
    EXPECT_EQ(color.index(), white);
  }
}

TEST(WrlColorSetters, SetRgbKeepsTheGivenValuesAndRefusesAnyOutOfRangeComponentWhole) {
  WrlColor color;
  ASSERT_EQ(color.setRGB(0.61, 0.02, 0.03), 1);
  EXPECT_EQ(color.red(), 0.61);
  EXPECT_EQ(color.green(), 0.02);
  EXPECT_EQ(color.blue(), 0.03);
  EXPECT_EQ(color.index(), 12);

  EXPECT_EQ(color.setRGB(1.0000001, 0, 0), 0);
  EXPECT_EQ(color.setRGB(0.5, -0.0001, 0.5), 0);
  EXPECT_EQ(color.setRGB(0.5, 0.5, std::nan("")), 0);
  EXPECT_EQ(color.setRGB(0.5, 0.5, INFINITY), 0);
  EXPECT_EQ(color.red(), 0.61);
  EXPECT_EQ(color.green(), 0.02);
  EXPECT_EQ(color.blue(), 0.03);
  EXPECT_EQ(color.index(), 12);

  EXPECT_EQ(color.setRGB(1, 1, 1), 1);
  EXPECT_EQ(color.index(), 7);
  EXPECT_EQ(color.setRGB(0, 0, 0), 1);
  EXPECT_EQ(color.index(), 250);
  EXPECT_EQ(color.setRGB(1, 0, 0), 1);
  EXPECT_EQ(color.index(), 1);
}
