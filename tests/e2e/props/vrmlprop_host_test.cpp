// VRMLPROP in the host: properties attached from scripts, saved with the
// drawing, read back by another program, and exported by a later session.
#include <gmock/gmock.h>

#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"

using namespace test_support;

namespace {

// props.dxf: a red 3D face, a line and a text (the last entity).
const char* const kFace = "2F";
const char* const kLine = "30";

std::string propsDrawing() { return std::string(VRML_TEST_DATA_DIR) + "/props/props.dxf"; }

ProcessResult runOn(const std::string& drawing, const std::string& script) {
  return runHost("--batch '" + drawing + "' --load '" + binPath("vrml.arx") + "'", script);
}

// The audit counts and one entity's extended data, as ezdxf reads them.
std::string ezdxfView(const std::string& drawing, const std::string& handle) {
  return runCommand("/usr/bin/python3 " VRML_SOURCE_DIR "/tests/platform/dxf/ezdxf_audit.py '" + drawing + "' " +
                    handle)
      .output;
}

const char* const kDefaultMaterial =
    "1001 VRML_Application\n1070 1\n1040 0.0\n1040 0.0\n1040 0.1\n1040 0.3\n1040 0.3\n1040 0.3\n"
    "1040 0.0\n1040 0.0\n1040 0.0\n1040 0.0\n1040 0.0\n1040 0.0\n1040 0.2\n1040 0.0\n";

class VrmlPropHost : public ::testing::Test {
 protected:
  // Link and material on the face, OK untouched on the line, Cancel on the
  // text, then the drawing saved under a new name.
  void SetUp() override {
    saved = scratch.file("saved.dxf");
    ProcessResult run = runOn(propsDrawing(), std::string("VRMLPROP\n") + kFace +
                                                  "\ntype 1018 http://example.com/a.wrl\ntype 1020 A link\n"
                                                  "check 1038 off\nslide 1014 29\nslide 1015 50\nok\n"
                                                  "VRMLPROP\n" +
                                                  kLine +
                                                  "\nok\nVRMLPROP\nL\ncancel\n"
                                                  "SAVEAS\n" +
                                                  saved + "\n");
    ASSERT_EQ(run.status, 0) << run.output;
    transcript = run.output;
  }

  ScratchDir scratch;
  std::string saved;
  std::string transcript;
};

TEST_F(VrmlPropHost, SavedDrawingCarriesTheEditedAndTheDefaultRecords) {
  EXPECT_THAT(transcript, testing::Not(testing::HasSubstr("Cannot open")));
  EXPECT_THAT(transcript, testing::Not(testing::HasSubstr("Error while attaching")));
  EXPECT_EQ(ezdxfView(saved, kFace),
            "errors 0 fixes 0\n1001 PE_URL\n1000 http://example.com/a.wrl\n1001 VRML_Url_Data\n1000 A link\n"
            "1001 VRML_Application\n1070 0\n1040 0.0\n1040 0.0\n1040 0.1\n1040 0.3\n1040 0.3\n1040 0.3\n"
            "1040 0.0\n1040 0.0\n1040 0.0\n1040 0.0\n1040 0.0\n1040 0.0\n1040 0.29\n1040 0.5\n");
  // Name-only link lists leave no link data; the material is complete.
  EXPECT_EQ(ezdxfView(saved, kLine), std::string("errors 0 fixes 0\n") + kDefaultMaterial);
  EXPECT_EQ(ezdxfView(saved, "31"), "errors 0 fixes 0\nno extended data\n");
}

TEST_F(VrmlPropHost, ALaterSessionReopensTheSlidersAndExportsMaterialAndAnchor) {
  std::string world = scratch.file("out.wrl");
  ProcessResult run = runOn(saved, std::string("VRMLPROP\n") + kFace + "\nok\nVRMLOUT\nALL\n\n" + world + "\nok\n");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_THAT(run.output, testing::HasSubstr("\n  1014 slider 29 (0..100)\n"));
  EXPECT_THAT(run.output, testing::HasSubstr("\n  1015 slider 50 (0..100)\n"));
  EXPECT_THAT(run.output, testing::HasSubstr("\n  1018 edit \"http://example.com/a.wrl\"\n"));
  EXPECT_THAT(run.output, testing::HasSubstr("\n  1038 check \"Use AutoCAD Color\" [ ]\n"));

  // The parser's own leaks would silence the checker in a sanitizer build.
  std::string check = runCommand("ASAN_OPTIONS=detect_leaks=0 " + binPath("vrmlcheck") + " '" + world + "'").output;
  EXPECT_THAT(check, testing::HasSubstr("shapes 1\n"));  // the facetter skips the line
  EXPECT_THAT(check, testing::HasSubstr("url \"http://example.com/a.wrl\"\ndescription \"A link\"\n"));
  std::string text = readFile(world);
  // Unticked colour switch: the face keeps the stored grey, not its red.
  EXPECT_THAT(text, testing::HasSubstr("\t\tambientColor 0.000000 0.000000 0.100000\n"
                                       "\t\tdiffuseColor 0.300000 0.300000 0.300000\n"
                                       "\t\tspecularColor 0.000000 0.000000 0.000000\n"
                                       "\t\temissiveColor 0.000000 0.000000 0.000000\n"
                                       "\t\tshininess 0.290000\n\t\ttransparency 0.500000\n"));
  EXPECT_THAT(text,
              testing::HasSubstr("\tWWWAnchor {\n\t\tname \"http://example.com/a.wrl\"\n\t\tdescription \"A link\"\n"));
}

TEST_F(VrmlPropHost, AClearedUrlLeavesTheDescription) {
  std::string again = scratch.file("again.dxf");
  ProcessResult run = runOn(saved, std::string("VRMLPROP\n") + kFace + "\ntype 1018 \nok\nSAVEAS\n" + again + "\n");
  ASSERT_EQ(run.status, 0) << run.output;
  std::string view = ezdxfView(again, kFace);
  EXPECT_THAT(view, testing::Not(testing::HasSubstr("PE_URL")));
  EXPECT_THAT(view, testing::HasSubstr("1001 VRML_Url_Data\n1000 A link\n"));
}

TEST(VrmlPropLimit, TypingStopsAt250Characters) {
  ScratchDir scratch;
  std::string saved = scratch.file("saved.dxf");
  std::string typed = "http://example.com/" + std::string(240, 'a');
  ProcessResult run = runOn(propsDrawing(), std::string("VRMLPROP\n") + kFace + "\ntype 1018 " + typed +
                                                "\nok\nSAVEAS\n" + saved + "\n");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_THAT(ezdxfView(saved, kFace), testing::HasSubstr("\n1000 " + typed.substr(0, 250) + "\n1001 "));
}

TEST(VrmlPropLimit, AStoredUrlOver250CharactersIsRefusedAndTheDialogStaysOpen) {
  ScratchDir scratch;
  std::string saved = scratch.file("saved.dxf");
  std::string drawing = std::string(VRML_TEST_DATA_DIR) + "/props/long_url.dxf";
  ProcessResult run = runOn(drawing, "VRMLPROP\n30\nok\ncancel\nSAVEAS\n" + saved + "\n");
  ASSERT_EQ(run.status, 0) << run.output;
  size_t refusal = run.output.find("\"Please enter no more than 250 characters.\"");
  ASSERT_NE(refusal, std::string::npos) << run.output;
  EXPECT_NE(run.output.find("> cancel\nDialog 130 closed: Cancel", refusal), std::string::npos) << run.output;
  EXPECT_EQ(ezdxfView(saved, "30"), ezdxfView(drawing, "30")) << "the refused entry was stored";
}

}  // namespace
