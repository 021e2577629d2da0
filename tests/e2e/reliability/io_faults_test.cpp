// World files and drawings written where writing fails: a disk that fills up,
// a folder nobody may write into (a read-only file system, which holds for
// root too), a read-only drawing file, a folder that vanished. The user is
// told, the session goes on, and the drawing on disk stays as it was.
//
// The full and read-only disks are small tmpfs mounts inside a mount
// namespace of the host process's own, gone when it ends; where the system
// allows no namespaces those tests are skipped and say so.
#include <gmock/gmock.h>

#include <filesystem>

#include "drawing_file.h"
#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"
#include "support/status_matchers.h"

using namespace test_support;

namespace {

namespace fs = std::filesystem;

const std::string kShowcase = std::string(VRML_SOURCE_DIR) + "/samples/showcase.dxf";
const char* const kWriteFailed = "\nError while creating VRML file.";
const char* const kCannotCreate = "\nCannot create output file.";

size_t count(const std::string& text, const std::string& part) {
  size_t found = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
  return found;
}

bool namespacesAvailable() {
  static const bool available =
      runCommand("unshare --mount sh -c 'mount -t tmpfs -o size=4k tmpfs /tmp' >/dev/null 2>&1").status == 0;
  return available;
}

// A host session whose folder `disk` is a fresh tmpfs of `bytes`. `setup`
// runs before the host (in the namespace), `check` after it; the output of
// all three comes back.
class OwnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!namespacesAvailable()) GTEST_SKIP() << "no mount namespace for a small disk of our own";
    fs::create_directory(disk);
  }

  ProcessResult session(size_t bytes, const std::string& setup, const std::string& drawing, const std::string& script,
                        const std::string& check) {
    writeFile(scratch.file("session.scr"), script);
    writeFile(scratch.file("session.sh"),
              "mount -t tmpfs -o size=" + std::to_string(bytes) + " tmpfs '" + disk + "' || exit 99\n" + setup + "\n" +
                  "ARXHOST_REGISTRY='" + scratch.file("registry.txt") + "' '" + binPath("arxhost") + "' --batch '" +
                  drawing + "' --load '" + binPath("vrml.arx") + "' --script '" + scratch.file("session.scr") +
                  "' </dev/null\necho \"host status $?\"\n" + check + "\n");
    return runCommand("unshare --mount sh '" + scratch.file("session.sh") + "' 2>&1");
  }

  ScratchDir scratch;
  const std::string disk = scratch.file("disk");
};

std::string exportTo(const std::string& world, const char* version) {
  return "VRMLOUT\nALL\n\n" + world + "\nclick " + version + "\nok\n";
}

TEST_F(OwnDisk, EveryExportOntoAFullDiskIsReported) {
  // The first world fills the disk halfway through; the others find it full.
  ProcessResult run = session(16 * 1024, "", kShowcase,
                              exportTo(disk + "/v1.wrl", "1055") + exportTo(disk + "/v2.wrl", "1056") +
                                  "(vrml_wrlout (ssget \"X\") \"" + disk + "/lisp.wrl\")\n",
                              "wc -c < '" + disk + "/v1.wrl'");
  EXPECT_EQ(count(run.output, kWriteFailed), 3u) << run.output;
  EXPECT_THAT(run.output, testing::HasSubstr(kWriteFailed + std::string("\nnil\nCommand: \nhost status ")))
      << "the AutoLISP export answers nil\n"
      << run.output;
  EXPECT_THAT(run.output, testing::HasSubstr("\n16384\n")) << "the disk took all it could\n" << run.output;
}

TEST_F(OwnDisk, AReadOnlyFolderRefusesWorldsAndDrawingsUpFront) {
  ProcessResult run = session(64 * 1024, "mount -o remount,ro '" + disk + "'", kShowcase,
                              exportTo(disk + "/v2.wrl", "1056") + "(vrml_wrlout (ssget \"X\") \"" + disk +
                                  "/lisp.wrl\")\nSAVEAS\n" + disk + "/drawing.dxf\n",
                              "ls -A '" + disk + "'");
  EXPECT_EQ(count(run.output, kCannotCreate), 2u) << run.output;
  EXPECT_THAT(run.output, testing::Not(testing::HasSubstr("Dialog 139"))) << "nothing faceted for nowhere\n"
                                                                          << run.output;
  EXPECT_THAT(run.output, testing::HasSubstr("\n" + disk + "/drawing.dxf: cannot save: Read-only file system"));
  EXPECT_THAT(run.output, testing::HasSubstr("host status 1\n")) << "the failed save fails the batch\n" << run.output;
  EXPECT_EQ(run.output.substr(run.output.find("host status 1\n") + 14), "") << "nothing written";
}

TEST_F(OwnDisk, SavingOntoAFullDiskKeepsThePreviousDrawing) {
  // Room for the drawing and half of it again: a new copy cannot fit.
  const std::string drawing = disk + "/showcase.dxf", rescued = scratch.file("rescued.dxf");
  size_t size = fs::file_size(kShowcase);
  ProcessResult run = session(size * 3 / 2, "cp '" + kShowcase + "' '" + disk + "/'", drawing,
                              "VRMLPROP\n37\ntype 1018 https://example.org/changed.html\nok\nSAVE\nSAVEAS\n" + rescued +
                                  "\n",
                              "cmp '" + kShowcase + "' '" + drawing + "' && echo intact; ls -A '" + disk + "'");
  EXPECT_THAT(run.output, testing::HasSubstr("\n" + drawing + ": cannot save: No space left on device"));
  EXPECT_THAT(run.output, testing::HasSubstr("\nintact\nshowcase.dxf\n")) << "old file whole, no leftovers\n"
                                                                          << run.output;
  // The session went on, and the edit reached another disk.
  EXPECT_THAT(readFile(rescued), testing::HasSubstr("\n1000\nhttps://example.org/changed.html\n"));
}

// The same for the AutoLISP export wherever the tests run: /dev/full takes
// the file but none of its bytes.
TEST(WorldFaults, TheAutoLispExportOntoAFullDeviceSaysSoAndAnswersNil) {
  ScratchDir scratch;
  const std::string full = scratch.file("full.wrl");
  fs::create_symlink("/dev/full", full);
  ProcessResult run = runHost("--batch '" + kShowcase + "' --load '" + binPath("vrml.arx") + "'",
                              "(vrml_wrlout (ssget \"X\") \"" + full + "\")\n");
  EXPECT_EQ(count(run.output, kWriteFailed), 1u) << run.output;
  EXPECT_THAT(run.output, testing::HasSubstr(kWriteFailed + std::string("\nnil\n")));
}

TEST(SaveFaults, AReadOnlyDrawingFileIsNotReplaced) {
  ScratchDir scratch;
  const std::string drawing = scratch.file("showcase.dxf"), copy = scratch.file("copy.dxf");
  fs::copy_file(kShowcase, drawing);
  fs::permissions(drawing, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  ProcessResult run = runHost("--batch '" + drawing + "' --load '" + binPath("vrml.arx") + "'",
                              "VRMLPROP\n37\ntype 1020 Changed\nok\nSAVE\nSAVEAS\n" + copy + "\n");
  EXPECT_THAT(run.output, testing::HasSubstr("\n" + drawing + ": cannot save: the file is read-only"));
  EXPECT_EQ(readFile(drawing), readFile(kShowcase));
  EXPECT_EQ(fs::status(drawing).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_THAT(readFile(copy), testing::HasSubstr("\n1000\nChanged\n")) << "saved elsewhere instead";
}

TEST(SaveFaults, AVanishedFolderIsReportedAndTheDrawingIsNotLost) {
  ScratchDir scratch;
  const std::string folder = scratch.file("project"), drawing = folder + "/showcase.dxf";
  fs::create_directory(folder);
  fs::copy_file(kShowcase, drawing);
  ASSERT_THAT(dxf::open(drawing), test_support::Succeeds());
  fs::remove_all(folder);

  EXPECT_THAT(dxf::save(drawing), test_support::FailsWith(drawing + ": cannot save: No such file or directory"));
  EXPECT_FALSE(fs::exists(folder));
  const std::string elsewhere = scratch.file("elsewhere.dxf");
  ASSERT_THAT(dxf::save(elsewhere), test_support::Succeeds());
  EXPECT_EQ(readFile(elsewhere), readFile(kShowcase));
}

}  // namespace
