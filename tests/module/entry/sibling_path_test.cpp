// Paths beside the module: the menu file and the help file.
#include <gtest/gtest.h>

#include <string>

#include "acadmem.h"
#include "afx.h"
#include "heap_faults.h"
#include "wrl_path.h"

namespace {

std::string sibling(const char* path, size_t cut, const char* ending) {
  TextBuffer made = siblingPath(path, cut, ending);
  return made.get();
}

TEST(SiblingPath, ReplacesTheEndingOfThePath) {
  EXPECT_EQ(sibling("/opt/cad/vrml.arx", 4, ""), "/opt/cad/vrml");         // the menu file
  EXPECT_EQ(sibling("/opt/cad/vrml.arx", 3, "hlp"), "/opt/cad/vrml.hlp");  // the help file
  EXPECT_EQ(sibling("vrml.arx", 0, ".mnu"), "vrml.arx.mnu");
  // Too short to lose the whole extension: nothing of it is kept.
  EXPECT_EQ(sibling("arx", 4, ""), "");
  EXPECT_EQ(sibling("ar", 3, "hlp"), "hlp");
}

TEST(SiblingPath, OneBlockOfTheHostsAndNoneWhenItRunsShort) {
  size_t before = acad::heap::stats().liveBlocks;
  {
    TextBuffer made = siblingPath("vrml.arx", 3, "hlp");
    EXPECT_EQ(acad::heap::stats().liveBlocks, before + 1);
  }
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);

  acad::heap::failAfter(1);
  bool thrown = false;
  try {
    siblingPath("vrml.arx", 3, "hlp");
  } catch (CMemoryException* error) {
    error->Delete();
    thrown = true;
  }
  acad::heap::failAfter(0);
  EXPECT_TRUE(thrown) << "a shortage is the framework's error";
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

}  // namespace
