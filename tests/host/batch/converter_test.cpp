// vrmlout as a converter: the units it takes by default and refuses, its
// help, one line per failure, several drawings at once, and an installed
// tree that works where it is moved.
#include <gmock/gmock.h>

#include <filesystem>

#include "support/corpus.h"
#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"

using namespace test_support;

namespace {

std::string shellWord(const std::string& path) { return "'" + path + "'"; }

ProcessResult vrmlout(const std::string& arguments, const std::string& program = binPath("vrmlout")) {
  return runCommand(shellWord(program) + " " + arguments + " 2>&1");
}

std::string five() { return std::string(VRML_TEST_DATA_DIR) + "/vrmlout/five.dxf"; }

// The scale line the world file carries after an export of `drawing` with `flags`.
std::string scaleOf(const ScratchDir& scratch, const std::string& drawing, const std::string& flags) {
  std::string out = scratch.file("scale.wrl");
  ProcessResult run = vrmlout(shellWord(drawing) + " " + shellWord(out) + " " + flags);
  if (run.status != 0) return run.output;
  std::string world = readFile(out);
  size_t at = world.find("scaleFactor ");
  return at == std::string::npos ? world : world.substr(at, world.find('\n', at) - at);
}

TEST(ConverterUnits, TheDrawingsDeclaredUnitsAreTheDefaultAndTheFlagWins) {
  SKIP_WITHOUT_CORPUS();
  ScratchDir scratch;
  // Inches declared in a binary drawing, metres in a text one, none at all.
  EXPECT_EQ(scaleOf(scratch, corpusFile("acadsharp__sample_AC1015_binary.dxf"), ""),
            "scaleFactor 0.025400 0.025400 0.025400");
  EXPECT_EQ(scaleOf(scratch, corpusFile("ezdxf__torus_r2000.dxf"), ""), "scaleFactor 1.000000 1.000000 1.000000");
  EXPECT_EQ(scaleOf(scratch, corpusFile("libdxf__zcad-teapot_R2000.dxf"), ""),
            "scaleFactor 0.001000 0.001000 0.001000");
  EXPECT_EQ(scaleOf(scratch, corpusFile("ezdxf__torus_r2000.dxf"), "--units cm"),
            "scaleFactor 0.010000 0.010000 0.010000");
  EXPECT_EQ(scaleOf(scratch, five(), "--units 0.00000051"), "scaleFactor 0.000001 0.000001 0.000001");
}

TEST(ConverterUnits, ScalesTheWorldFileCannotShowAreRefusedInOneLine) {
  const std::pair<const char*, const char*> refused[] = {
      {"0.0000004", "too small"},       {"0.0000005", "too small"},        {"3.5e38", "too large"},
      {"1e400", "too large"},           {"nan", "a scale factor above 0"}, {"-1", "a scale factor above 0"},
      {"2mm", "a scale factor above 0"}};
  for (const auto& [units, reason] : refused) {
    ProcessResult run = vrmlout(shellWord(five()) + " --units " + units);
    EXPECT_EQ(run.status, 2) << units;
    std::string first = run.output.substr(0, run.output.find('\n'));
    EXPECT_THAT(first, testing::HasSubstr(reason)) << units << ": " << first;
  }
}

TEST(Converter, HelpExplainsEveryOptionAndExitStatus) {
  ProcessResult run = vrmlout("--help");
  EXPECT_EQ(run.status, 0);
  for (const char* option : {"--vrml1", "--vrml2", "--units", "--wcs", "--select", "--preview", "--out-dir", "-j N",
                             "--verbose", "--help", "\n  0  ", "\n  1  ", "\n  2  ", "\n  3  "})
    EXPECT_THAT(run.output, testing::HasSubstr(option)) << option;
  ScratchDir scratch;
  std::string out = scratch.file("v1.wrl");
  ASSERT_EQ(vrmlout(shellWord(five()) + " " + shellWord(out) + " --vrml2 --vrml1").status, 0);
  EXPECT_THAT(readFile(out), testing::StartsWith("#VRML V1.0 ascii\n")) << "the last version flag wins";
}

TEST(Converter, EachFailureIsOneLineNamingTheDrawing) {
  ScratchDir scratch;
  std::string broken = scratch.file("broken.dxf");
  writeFile(broken, "  0\nSECTION\nbogus\n");
  ProcessResult run = vrmlout(shellWord(broken));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "vrmlout: " + broken + ": line 3: invalid group code \"bogus\"\n");

  run = vrmlout(shellWord(five()) + " " + shellWord(scratch.file("x.wrl")) + " --select L=Nowhere");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "vrmlout: " + five() + ": no objects on layer Nowhere\n");

  run = vrmlout(shellWord(scratch.file("absent.dxf")));
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.output.substr(0, run.output.find('\n')),
            "vrmlout: " + scratch.file("absent.dxf") + ": no such drawing or folder");

  run = vrmlout(shellWord(five()) + " " + shellWord(scratch.file("x.wrl")) + " --select L=Nowhere --verbose");
  EXPECT_THAT(run.output, testing::HasSubstr("Select objects: L=Nowhere")) << "--verbose keeps the transcript";
}

TEST(Converter, SeveralDrawingsExportSideBySideAndEveryOneIsReported) {
  ScratchDir scratch;
  std::filesystem::create_directory(scratch.file("in"));
  std::string text = readFile(five());
  writeFile(scratch.file("in/a.dxf"), text);
  writeFile(scratch.file("in/b.DXF"), text);
  writeFile(scratch.file("in/notes.txt"), "not a drawing");
  writeFile(scratch.file("bad.dxf"), "0\nEOF\nx\n");

  // A folder stands for its drawings; each world is written beside its drawing.
  ProcessResult run = vrmlout(shellWord(scratch.file("in")) + " -j 2");
  EXPECT_EQ(run.status, 0) << run.output;
  for (const char* world : {"in/a.wrl", "in/b.wrl"}) {
    EXPECT_THAT(run.output, testing::HasSubstr(scratch.file(world) + ": 4 object(s) converted, 1 object(s) ignored\n"));
    EXPECT_TRUE(std::filesystem::exists(scratch.file(world)));
  }

  // Into --out-dir, which is made; one failure makes the status non-zero.
  run = vrmlout(shellWord(five()) + " " + shellWord(scratch.file("bad.dxf")) + " " +
                shellWord(scratch.file("in/a.dxf")) + " --out-dir " + shellWord(scratch.file("out")) + " --vrml2 -j 3");
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_THAT(run.output, testing::HasSubstr(scratch.file("out/five.wrl") + ": 4 object(s) converted"));
  EXPECT_THAT(run.output, testing::HasSubstr(scratch.file("out/a.wrl") + ": 4 object(s) converted"));
  EXPECT_THAT(run.output, testing::HasSubstr("vrmlout: " + scratch.file("bad.dxf") + ": "));
  EXPECT_THAT(run.output, testing::HasSubstr("vrmlout: 1 of 3 drawings failed\n"));
  EXPECT_THAT(readFile(scratch.file("out/five.wrl")), testing::StartsWith("#VRML V2.0 utf8\n"));

  EXPECT_EQ(vrmlout(shellWord(five()) + " " + shellWord(scratch.file("in/a.dxf")) + " --preview p.png").status, 2);
}

TEST(Converter, AnInstalledTreeWorksWhereverItIsMoved) {
  ScratchDir scratch;
  ProcessResult install = runCommand("cmake --install '" + std::string(VRML_BIN_DIR) + "/..' --prefix " +
                                     shellWord(scratch.file("first")) + " 2>&1");
  ASSERT_EQ(install.status, 0) << install.output;
  std::filesystem::rename(scratch.file("first"), scratch.file("moved"));
  std::string out = scratch.file("moved.wrl");
  ProcessResult run = vrmlout(shellWord(five()) + " " + shellWord(out), scratch.file("moved/bin/vrmlout"));
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_THAT(readFile(out), testing::HasSubstr("DEF Object1 "));
  ProcessResult paths = runCommand("readelf -d " + shellWord(scratch.file("moved/bin/arxhost")) + " | grep -i path");
  EXPECT_THAT(paths.output, testing::Not(testing::HasSubstr(VRML_BIN_DIR)));
}

}  // namespace
