// The command-line file dialog.
#include <gmock/gmock.h>
#include <cstdlib>
#include <fstream>

#include "acadmem.h"
#include "platform/win/dialog_fixture.h"
#include "support/scratch_dir.h"

namespace {

struct FileAnswer {
  resbuf* rb = ads_newrb(RTSTR);
  ~FileAnswer() { ads_relrb(rb); }
};

}  // namespace

TEST_F(DialogTest, NewFileGetsTheExtensionAndReplacingIsAsked) {
  test_support::ScratchDir scratch;
  const std::string& dir = scratch.path();
  std::ofstream(dir + "/old.wrl") << "x";
  // The second answer names the same file from the home folder.
  std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", dir.c_str(), 1);
  script(dir + "/old\nn\n~/old\ny\n");
  FileAnswer answer;
  ASSERT_EQ(ads_getfiled("Create VRML File", nullptr, "wrl", 3, answer.rb), RTNORM);
  setenv("HOME", home.c_str(), 1);
  EXPECT_EQ(answer.rb->restype, RTSTR);
  EXPECT_EQ(std::string(answer.rb->resval.rstring), dir + "/old.wrl");
  std::string t = transcript();
  std::string question = "\nA file named " + dir + "/old.wrl already exists. Replace it? <N>: ";
  // Either answer is followed by what became of the file.
  EXPECT_EQ(t, "\nCreate VRML File: " + dir + "/old" + question + "n\n" + dir + "/old.wrl is kept." +
                   "\nCreate VRML File: ~/old" + question + "y\n" + dir + "/old.wrl will be replaced.");
}

TEST_F(DialogTest, FileDialogCancelsWhenInputRunsOutOrIsEmpty) {
  FileAnswer answer;
  script("");
  EXPECT_EQ(ads_getfiled("Create VRML File", nullptr, "wrl", 3, answer.rb), RTCAN);
  script("\n");
  EXPECT_EQ(ads_getfiled("Create VRML File", nullptr, "wrl", 3, answer.rb), RTCAN);
  EXPECT_EQ(answer.rb->resval.rstring, nullptr);
  EXPECT_EQ(ads_getfiled("t", nullptr, "wrl", 1, nullptr), RTERROR);
}

TEST_F(DialogTest, FileDialogDefaultsAndExistingFiles) {
  test_support::ScratchDir scratch;
  const std::string& dir = scratch.path();
  FileAnswer answer;
  // An empty answer takes the default; a name with an extension keeps it.
  script("\n");
  ASSERT_EQ(ads_getfiled("Save", (dir + "/a.txt").c_str(), "wrl", 1, answer.rb), RTNORM);
  EXPECT_EQ(std::string(answer.rb->resval.rstring), dir + "/a.txt");
  // Opening (no new-file bit) wants a file that exists.
  std::ofstream(dir + "/in.dxf") << "0\nEOF\n";
  script(dir + "/missing\n" + dir + "/in\n");
  ASSERT_EQ(ads_getfiled("Open", nullptr, "dxf", 0, answer.rb), RTNORM);
  EXPECT_EQ(std::string(answer.rb->resval.rstring), dir + "/in.dxf");
  EXPECT_THAT(transcript(), testing::HasSubstr("\nCannot find " + dir + "/missing.dxf."));
}
