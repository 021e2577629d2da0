// Numbers in entity tags: the shortcut for plain whole numbers must read
// every text as the general conversion does, and refuse what it refuses.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "render/tag_reader.h"

namespace {

TEST(TagNumbers, IntegersReadAsTheGeneralConversionReadsThem) {
  for (const char* text : {"0",
                           "64",
                           " 192 ",
                           "000000012",
                           "999999999",
                           "-3",
                           "+7",
                           "",
                           " ",
                           "1.5",
                           "12a",
                           "9999999999999",
                           "-0",
                           "-",
                           "--1",
                           "-+1",
                           "1-",
                           "-12 ",
                           "999999999999999999",
                           "-999999999999999999",
                           "9223372036854775807",
                           "9999999999999999999",
                           "-9223372036854775808",
                           "0000000000000000000042",
                           "-2\r"}) {
    int64_t ours = -1, general = -1;
    std::string_view view(text);
    while (!view.empty() && view.front() == ' ') view.remove_prefix(1);
    while (!view.empty() && (view.back() == ' ' || view.back() == '\r')) view.remove_suffix(1);
    if (!view.empty() && view.front() == '+') view.remove_prefix(1);
    auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), general);
    bool generalOk = error == std::errc() && end == view.data() + view.size();
    EXPECT_EQ(render::TagReader::parseInteger(text, ours), generalOk) << "'" << text << "'";
    if (generalOk) {
      EXPECT_EQ(ours, general) << "'" << text << "'";
    }
  }
}

// Reals: plain decimals take a shortcut, everything else the general
// conversion of the trimmed text; both must give what that conversion gives.
TEST(TagNumbers, RealsReadAsTheGeneralConversionReadsThem) {
  for (const char* text : {"0.500000",
                           "-12.25",
                           "7",
                           "-0.0",
                           ".5",
                           "5.",
                           " 1.5",
                           "1.5\r",
                           "2.5 \t",
                           "+3.25",
                           "1e3",
                           "-2.5E-2",
                           "123456789012345678901.5",
                           "3.7729999999999997",
                           "-0.30000000000000004 ",
                           "1e400",
                           "nan",
                           "inf",
                           "",
                           "-",
                           ".",
                           "1.5.2",
                           "12a"}) {
    std::string_view view(text);
    while (!view.empty() && (view.front() == ' ' || view.front() == '\t')) view.remove_prefix(1);
    while (!view.empty() && (view.back() == ' ' || view.back() == '\t' || view.back() == '\r')) view.remove_suffix(1);
    if (view.size() > 1 && view.front() == '+') view.remove_prefix(1);
    double general = 0, ours = -1;
    auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), general);
    bool generalOk = error == std::errc() && end == view.data() + view.size() && !view.empty() &&
                     std::isfinite(general);
    EXPECT_EQ(render::TagReader::parseReal(text, ours), generalOk) << "'" << text << "'";
    if (generalOk) {
      EXPECT_EQ(ours, general) << "'" << text << "'";
    }
  }
}

// A point's three codes are found in one pass: each must be its code's first
// value, wherever it stands, and a missing one takes its fallback.
TEST(TagNumbers, PointsTakeTheFirstValueOfEachCodeInAnyOrder) {
  using db::TagView;
  std::vector<TagView> tags = {{8, "0"},  {30, "3"}, {11, "9"}, {20, "2"},   {10, "1"},
                               {20, "7"}, {10, "8"}, {40, "5"}, {1010, "6"}, {0, "x"}};
  render::TagReader reader(tags);
  render::Vec3 at = reader.point(10);
  EXPECT_EQ(at.x, 1);
  EXPECT_EQ(at.y, 2);
  EXPECT_EQ(at.z, 3);
  render::Vec3 partial = reader.point(11, {4, 5, 6});
  EXPECT_EQ(partial.x, 9);
  EXPECT_EQ(partial.y, 5);
  EXPECT_EQ(partial.z, 6);
  EXPECT_TRUE(reader.valid());

  // A face's four corners in one pass: codes 14 and 24 are no corner's, and
  // the fourth corner's missing Y takes its fallback.
  std::vector<TagView> face = {{30, "3"}, {11, "4"}, {10, "1"},  {20, "2"},  {21, "5"},  {31, "6"},  {12, "7"},
                               {22, "8"}, {32, "9"}, {13, "10"}, {10, "99"}, {14, "77"}, {24, "77"}, {33, "12"}};
  render::TagReader corners(face);
  render::TagReader::PointTags found[4];
  corners.findPoints(10, found);
  const render::Vec3 expected[4] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, -1, 12}};
  for (int i = 0; i < 4; ++i) {
    render::Vec3 p = corners.pointOf(found[i], {0, -1, 0});
    EXPECT_EQ(p.x, expected[i].x) << i;
    EXPECT_EQ(p.y, expected[i].y) << i;
    EXPECT_EQ(p.z, expected[i].z) << i;
  }
  EXPECT_TRUE(corners.valid());

  std::vector<TagView> bad = {{10, "1"}, {20, "x"}, {30, "3"}};
  render::TagReader refusing(bad);
  EXPECT_EQ(refusing.point(10, {0, -1, 0}).y, -1);
  EXPECT_FALSE(refusing.valid()) << "a value that is no number marks the reader invalid";
}

}  // namespace
