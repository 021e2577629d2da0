// The drawing file's text as records read it back: copied out, or looked at
// where it lies.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <string>

#include "db/drawing_text.h"
#include "support/files.h"
#include "support/scratch_dir.h"

// A look gives what a copy gets, in the window and past it, in the file and
// in memory; what the file lacks gives nothing, and a stretch longer than
// the window is copied but not looked at.
TEST(DrawingText, ALookShowsWhatACopyGets) {
  const size_t size = (3 << 20) + 123;
  std::string bytes(size, '\0');  // differing from place to place, so that a wrong offset shows
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
  test_support::ScratchDir scratch;
  test_support::writeFile(scratch.file("text.dxf"), bytes);
  int fd = ::open(scratch.file("text.dxf").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  const db::DrawingText file(fd), memory(bytes);
  const std::pair<uint64_t, size_t> stretches[] = {
      {0, 40}, {100, 3}, {(1 << 20) - 10, 30}, {5, 200}, {(2 << 20) + 77, 4096}, {size - 16, 16}, {size, 0}};
  for (const db::DrawingText* text : {&file, &memory}) {
    for (auto [offset, length] : stretches) {
      std::string copy;
      ASSERT_TRUE(text->read(offset, length, copy)) << offset;
      EXPECT_EQ(copy, bytes.substr(offset, length)) << offset;
      EXPECT_EQ(text->view(offset, length), std::optional<std::string_view>(copy)) << offset;
    }
    EXPECT_FALSE(text->view(size - 4, 5)) << "past the end";
    EXPECT_FALSE(text->view(size + 1, 0));
  }
  std::string copy;
  EXPECT_TRUE(file.read(1000, 600 << 10, copy));
  EXPECT_EQ(copy, bytes.substr(1000, 600 << 10));
  EXPECT_FALSE(file.view(1000, 600 << 10)) << "longer than half the window";
  ASSERT_TRUE(file.view(0, 40));
  EXPECT_FALSE(file.view(1000, 600 << 10)) << "longer than half the window, which holds it";

  // Bytes added to the file after it was read are no part of its text, even
  // when the window took them in.
  test_support::writeFile(scratch.file("text.dxf"), bytes + "appended");
  ASSERT_TRUE(file.view(size - 100, 10));
  EXPECT_FALSE(file.view(size - 4, 8)) << "past the end as read";
  EXPECT_EQ(file.view(size - 4, 4), std::optional<std::string_view>(bytes.substr(size - 4)));
}
