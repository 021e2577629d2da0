// The preview: the world file stays as exported, and the picture's own world
// centres the model, brings it to one size and looks at it from above.
#include <gmock/gmock.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "batch/preview_world.h"
#include "support/corpus.h"
#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"

using namespace test_support;

namespace {

std::string teapot() { return corpusFile("libdxf__zcad-teapot_R2000.dxf"); }

ProcessResult vrmlout(const std::string& arguments) {
  return runCommand("'" + binPath("vrmlout") + "' " + arguments + " 2>&1");
}

// The numbers after `field` in `text`.
std::vector<double> field(const std::string& text, const std::string& name, int count) {
  size_t at = text.find(name + " ");
  std::vector<double> values(static_cast<size_t>(count), NAN);
  if (at == std::string::npos) return values;
  const char* p = text.c_str() + at + name.size();
  for (double& value : values) {
    char* end = nullptr;
    value = std::strtod(p, &end);
    p = end;
  }
  return values;
}

// Rotates `v` by the axis-angle `r` (Rodrigues).
std::array<double, 3> rotate(const std::vector<double>& r, std::array<double, 3> v) {
  double k[3] = {r[0], r[1], r[2]}, c = std::cos(r[3]), s = std::sin(r[3]);
  double dot = k[0] * v[0] + k[1] * v[1] + k[2] * v[2];
  double cross[3] = {k[1] * v[2] - k[2] * v[1], k[2] * v[0] - k[0] * v[2], k[0] * v[1] - k[1] * v[0]};
  std::array<double, 3> out;
  for (int i = 0; i < 3; ++i) out[i] = v[i] * c + cross[i] * s + k[i] * dot * (1 - c);
  return out;
}

TEST(Preview, BoundsTakeTheWorldsScaleInEitherVersion) {
  SKIP_WITHOUT_CORPUS();
  ScratchDir scratch;
  std::string metres = scratch.file("m.wrl"), millimetres = scratch.file("mm.wrl");
  ASSERT_EQ(vrmlout("'" + teapot() + "' '" + metres + "' --units m --vrml2").status, 0);
  ASSERT_EQ(vrmlout("'" + teapot() + "' '" + millimetres + "' --units mm").status, 0);
  WorldBounds big, small;
  ASSERT_TRUE(readWorldBounds(metres, big));
  ASSERT_TRUE(readWorldBounds(millimetres, small));
  ASSERT_FALSE(big.empty);
  for (int axis = 0; axis < 3; ++axis) {
    EXPECT_LT(big.low[axis], big.high[axis]);
    EXPECT_NEAR(small.low[axis], big.low[axis] / 1000, 1e-9);
    EXPECT_NEAR(small.high[axis], big.high[axis] / 1000, 1e-9);
  }
  WorldBounds none;
  EXPECT_FALSE(readWorldBounds(scratch.file("missing.wrl"), none));
}

TEST(Preview, TheCameraLooksAtTheCentredModelFromTheFrontRightAbove) {
  WorldBounds bounds;
  const double a[3] = {0.002, -0.004, 0.001}, b[3] = {0.006, 0.0, 0.003};
  bounds.add(a);
  bounds.add(b);
  std::string world = previewWorld("/w/a \"b\".wrl", bounds);
  EXPECT_THAT(world, testing::HasSubstr("url \"/w/a \\\"b\\\".wrl\""));
  std::vector<double> scale = field(world, "scale", 3), move = field(world, "translation", 3);
  double radius = 0;
  for (int axis = 0; axis < 3; ++axis) {
    double centre = (a[axis] + b[axis]) / 2, half = (b[axis] - a[axis]) / 2;
    radius += half * half;
    EXPECT_NEAR(centre * scale[0] + move[static_cast<size_t>(axis)], 0, 1e-4) << "axis " << axis;
  }
  EXPECT_NEAR(std::sqrt(radius) * scale[0], 10, 1e-3) << "every model is brought to one size";

  std::vector<double> eye = field(world, "position", 3), turn = field(world, "orientation", 4);
  double distance = std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
  EXPECT_GT(distance, 10) << "the camera stands outside the model";
  EXPECT_GT(eye[0], 0);
  EXPECT_GT(eye[1], 0) << "from above";
  EXPECT_GT(eye[2], 0) << "from the front";
  std::array<double, 3> look = rotate(turn, {0, 0, -1});
  for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(look[i], -eye[i] / distance, 1e-4);
  EXPECT_NEAR(rotate(turn, {1, 0, 0})[1], 0, 1e-4) << "no roll: the picture's horizon stays level";
}

TEST(Preview, APictureOfATinyModelLeavesTheWorldFileAsExported) {
  SKIP_WITHOUT_CORPUS();
  if (runCommand("command -v view3dscene xvfb-run >/dev/null").status != 0) GTEST_SKIP() << "no viewer";
  ScratchDir scratch;
  std::string plain = scratch.file("plain.wrl"), shown = scratch.file("shown.wrl"), picture = scratch.file("t.png");
  ASSERT_EQ(vrmlout("'" + teapot() + "' '" + plain + "'").status, 0);
  ProcessResult run = vrmlout("'" + teapot() + "' '" + shown + "' --preview '" + picture + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(readFile(shown), readFile(plain));
  EXPECT_GT(std::filesystem::file_size(picture), 5000u) << "a blank picture compresses to almost nothing";
  EXPECT_THAT(readFile(picture), testing::StartsWith("\x89PNG"));
}

}  // namespace
