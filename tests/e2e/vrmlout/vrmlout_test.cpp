// VRMLOUT in the host from scripts: numbering, colours, Cancel, options, the
// UCS choice, and files that cannot be created or written.
#include <gmock/gmock.h>

#include <filesystem>

#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"

using namespace test_support;

namespace {

std::string drawing(const std::string& name) { return std::string(VRML_TEST_DATA_DIR) + "/vrmlout/" + name; }

ProcessResult runOn(const std::string& dxf, const std::string& script) {
  return runHost("--batch '" + drawing(dxf) + "' --load '" + binPath("vrml.arx") + "'", script);
}

// A VRMLOUT of every object to `out`, the options dialog answered by `actions`.
std::string exportAll(const std::string& out, const std::string& actions) {
  return "VRMLOUT\nALL\n\n" + out + "\n" + actions;
}

std::string check(const std::string& world) {
  return runCommand("'" + binPath("vrmlcheck") + "' '" + world + "'").output;
}

// The text of one shape, from its DEF line to the next shape's.
std::string shape(const std::string& world, int number) {
  size_t start = world.find("DEF Object" + std::to_string(number) + " ");
  if (start == std::string::npos) return "";
  return world.substr(start, world.find("DEF Object", start + 1) - start);
}

size_t count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(Vrmlout, ShapesKeepTheirSelectionNumbersAndColoursDecideTheMaterial) {
  ScratchDir scratch;
  std::string out = scratch.file("five.wrl");
  ProcessResult run = runOn("five.dxf", exportAll(out, "click Meter\nclick VRML 2.0\nok\n"));
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_THAT(run.output, testing::HasSubstr("1042 static \"4 object(s) converted.\""));
  EXPECT_THAT(run.output, testing::HasSubstr("1043 static \"1 object(s) ignored.\""));
  std::string world = readFile(out);
  EXPECT_EQ(shape(world, 2), "") << "the bare line has nothing to export";
  EXPECT_THAT(shape(world, 1), testing::HasSubstr("diffuseColor 1.000000 0.000000 0.000000")) << world;
  // Colour 7 takes nothing from the object's material data; the shape gets
  // the default material so that it is lit like a VRML 1.0 one.
  const std::string defaultLook =
      "\t\t\t\t\t\tappearance Appearance {\n\t\t\t\t\t\t\tmaterial Material {\n"
      "\t\t\t\t\t\t}\n\t\t\t\t\t}\n\t\t\t\t\tgeometry ";
  EXPECT_THAT(shape(world, 3), testing::HasSubstr(" Shape {\n" + defaultLook)) << "colour 7: " << world;
  EXPECT_THAT(shape(world, 4), testing::HasSubstr("diffuseColor 0.000000 1.000000 0.000000")) << world;
  EXPECT_THAT(shape(world, 5), testing::HasSubstr(" Shape {\n" + defaultLook)) << "a missing layer counts as colour 7";
  EXPECT_THAT(world, testing::HasSubstr("\t\t\tscale 1.000000 1.000000 1.000000\n"));
  std::string facts = check(out);
  EXPECT_THAT(facts, testing::HasSubstr("version 2\nshapes 4\npoints 12\nfaces 4\nbadindex 0\n"));
}

TEST(Vrmlout, CancelFinishesTheThirdObjectAndLeavesAClosedFile) {
  ScratchDir scratch;
  std::string out = scratch.file("cancelled.wrl");
  ProcessResult run = runOn("five.dxf", exportAll(out, "click VRML 2.0\nok\nat 3 cancel\n"));
  EXPECT_EQ(count(run.output, "\nError while creating VRML file."), 1u) << run.output;
  std::string world = readFile(out);
  EXPECT_NE(shape(world, 1), "");
  EXPECT_NE(shape(world, 3), "") << "the object under way is finished";
  EXPECT_EQ(shape(world, 4), "") << "nothing is written after Cancel";
  EXPECT_THAT(world, testing::EndsWith("\t\t\t]\n\t\t}\n\t]\n}\n"));
  EXPECT_THAT(check(out), testing::HasSubstr("shapes 2\n"));
}

TEST(Vrmlout, OptionsStartFromTheDefaultsAndRefuseANonPositiveScale) {
  ScratchDir scratch;
  std::string meter = scratch.file("meter.wrl"), inch = scratch.file("inch.wrl"), plain = scratch.file("plain.wrl");
  ProcessResult run = runOn("five.dxf", exportAll(meter, "click Other\ntype 1018 0\nok\nclick Meter\nok\n") +
                                            exportAll(inch, "click Inch\nclick VRML 2.0\nok\n") +
                                            exportAll(plain, "ok\n"));
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(count(run.output, "Scale factor must be > 0"), 1u) << run.output;
  EXPECT_THAT(readFile(meter), testing::HasSubstr("\tscaleFactor 1.000000 1.000000 1.000000\n"));
  EXPECT_THAT(readFile(inch), testing::HasSubstr("\t\t\tscale 0.039400 0.039400 0.039400\n"));
  std::string defaults = readFile(plain);
  EXPECT_THAT(defaults, testing::StartsWith("#VRML V1.0 ascii\n")) << "a second export starts at VRML 1.0 again";
  EXPECT_THAT(defaults, testing::HasSubstr("\tscaleFactor 0.001000 0.001000 0.001000\n"));
  EXPECT_THAT(shape(defaults, 3), testing::Not(testing::HasSubstr("Material")))
      << "VRML 1.0 keeps colour 7 without material";
  EXPECT_THAT(shape(defaults, 3), testing::HasSubstr("Coordinate3")) << defaults;
}

TEST(Vrmlout, TheUcsChoiceOfTheLastExportHoldsForAutoLisp) {
  ScratchDir scratch;
  std::string a = scratch.file("a.wrl"), b = scratch.file("b.wrl"), c = scratch.file("c.wrl"),
              d = scratch.file("d.wrl");
  std::string lispBefore = "(vrml_wrlout (ssget \"X\") \"" + scratch.file("first.wrl") + "\")\n";
  ProcessResult run = runOn("ucs.dxf", lispBefore + exportAll(a, "ok\n") + "(vrml_wrlout (ssget \"X\") \"" + b +
                                           "\")\n" + exportAll(c, "check Recalculate points to current UCS off\nok\n") +
                                           "(vrml_wrlout (ssget \"X\") \"" + d + "\")\n");
  EXPECT_EQ(run.status, 0) << run.output;
  const std::string world = "\t\t\t100.000000 0.000000 0.000000,\n";
  const std::string user = "\t\t\t0.000000 0.000000 0.000000,\n";
  EXPECT_THAT(readFile(scratch.file("first.wrl")), testing::HasSubstr(world)) << "no UCS before any VRMLOUT";
  EXPECT_THAT(readFile(a), testing::HasSubstr(user));
  EXPECT_THAT(readFile(b), testing::HasSubstr(user));
  EXPECT_THAT(readFile(c), testing::HasSubstr(world));
  EXPECT_THAT(readFile(d), testing::HasSubstr(world));
}

TEST(Vrmlout, AFileThatCannotBeCreatedIsReportedBeforeAnyWork) {
  ProcessResult run = runOn("five.dxf", exportAll("/no/such/folder/x.wrl", "ok\n"));
  EXPECT_THAT(run.output, testing::HasSubstr("Dialog 140 closed: OK\nCannot create output file.\nCommand: "));
  EXPECT_THAT(run.output, testing::Not(testing::HasSubstr("Dialog 139")))
      << "nothing is faceted for a file that is not there";
  EXPECT_FALSE(std::filesystem::exists("/no/such/folder/x.wrl"));
}

TEST(Vrmlout, AFullDiskIsReportedOnce) {
  ScratchDir scratch;
  std::string full = scratch.file("full.wrl");
  std::filesystem::create_symlink("/dev/full", full);
  ProcessResult run = runOn("five.dxf", exportAll(full, "ok\n"));
  EXPECT_EQ(count(run.output, "\nError while creating VRML file."), 1u) << run.output;
}

}  // namespace
