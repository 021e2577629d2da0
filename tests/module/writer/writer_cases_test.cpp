#include <gmock/gmock.h>

#include <cstdio>
#include <string>

#include "acadmem.h"
#include "afx.h"
#include "file_faults.h"
#include "heap_faults.h"
#include "support/files.h"
#include "support/scratch_dir.h"
#include "world_file.h"
#include "wrl_file.h"
#include "wrl_fobj.h"
#include "wrl_mat.h"
#include "wrl_url.h"

namespace {

WrlFace face(std::initializer_list<int32_t> corners) {
  WrlFace result;
  result.setCount(static_cast<int>(corners.size()));
  int corner = 0;
  for (int32_t index : corners) result.setCorner(corner++, index);
  return result;
}

// A quadrilateral, a face whose corner count was never accepted, a triangle.
void fillSquare(WrlFaceObject& object) {
  auto* points = new WrlPointList;
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) points->add(WrlPoint(x, y, 0));
  object.appendPoints(points);
  auto* faces = new WrlFaceList;
  faces->add(face({0, 1, 2, 3}));
  faces->add(WrlFace());
  faces->add(face({0, 1, 2}));
  object.appendFaces(faces);
}

class Writer : public ::testing::Test {
 protected:
  void SetUp() override { liveBlocks = acad::heap::stats().liveBlocks; }
  void TearDown() override {
    win::file_faults::disarm();
    EXPECT_EQ(acad::heap::stats().liveBlocks, liveBlocks) << "blocks left behind";
  }
  // A file with header and scaling node in the given version.
  void start(WrlFile& file, int version, double scale = 1.0) {
    file.setVersion(static_cast<WrlVersion>(version));
    ASSERT_EQ(file.open(path.c_str()), 1);
    ASSERT_EQ(file.writeHeader(), 1);
    ASSERT_EQ(file.writeScale(scale), 1);
  }
  void writeObject(WrlFile& file, const WrlUrl& url, const WrlMaterial& material, const WrlFaceObject& object) {
    EXPECT_EQ(file.writeAnchor(url), 1);
    EXPECT_EQ(file.beginObject(1), 1);
    EXPECT_EQ(file.writeMaterial(material), 1);
    EXPECT_EQ(file.writeFaceObject(object), 1);
    EXPECT_EQ(file.closeObjects(), 1);
  }
  std::string written() { return test_support::readFile(path); }

  test_support::ScratchDir scratch;
  std::string path = scratch.file("world.wrl");
  size_t liveBlocks = 0;
};

const char kEmpty2[] =
    "#VRML V2.0 utf8\n\nGroup {\n\tchildren [\n\t\tTransform {\n\t\t\tscale 1.000000 1.000000 1.000000\n"
    "\t\t\tchildren [\n\t\t\t]\n\t\t}\n\t]\n}\n";
const char kObjectLine2[] = "\t\t\t\t\tDEF Object1 Shape {\n";

const char kHeader1[] =
    "#VRML V1.0 ascii\nShapeHints {\n\tvertexOrdering UNKNOWN_ORDERING\n\tshapeType UNKNOWN_SHAPE_TYPE\n"
    "\tfaceType CONVEX\n\tcreaseAngle 0.5\n}\nDEF SceneInfo Info {\n"
    "\tstring \"Created with Meshcast/AutoCAD from Ferolan\"\n}\n";

}  // namespace

TEST_F(Writer, ExportWithoutObjectsIsACompleteFileInBothVersions) {
  {
    WrlFile file;
    start(file, 2);
    EXPECT_EQ(file.closeObjects(), 1);
    EXPECT_EQ(file.close(), 1);
  }
  EXPECT_EQ(written(), kEmpty2);
  EXPECT_EQ(world_file::vrmlcheck(path).status, 0);
  {
    WrlFile file;
    start(file, 1, 0.0394);
    EXPECT_EQ(file.close(), 1);
  }
  EXPECT_EQ(written(), std::string(kHeader1) + "Scale {\n\tscaleFactor 0.039400 0.039400 0.039400\n}\n");
  world_file::Check check = world_file::vrmlcheck(path);
  EXPECT_EQ(check.status, 0);
  EXPECT_EQ(check.facts, "version 1\nshapes 0\npoints 0\nfaces 0\nbadindex 0\n");
}

TEST_F(Writer, FacesWriteTheirCountedCornersAndAZeroCountFaceNothing) {
  for (int version : {1, 2}) {
    {
      WrlFaceObject object;
      fillSquare(object);
      WrlUrl noLink;
      WrlMaterial noMaterial;
      WrlFile file;
      start(file, version);
      writeObject(file, noLink, noMaterial, object);
      EXPECT_EQ(file.level(), 0);
      EXPECT_EQ(file.close(), 1);
    }
    std::string tabs(version == 2 ? 7 : 3, '\t');
    std::string text = written();
    EXPECT_THAT(text, testing::HasSubstr("[\n" + tabs + "0,1,2,3,-1,\n" + tabs + "0,1,2,-1,\n"));
    // Without a valid material VRML 1.0 writes none, and VRML 2.0 an empty
    // one in the layout of a coloured shape, so that the shape is lit.
    if (version == 1) {
      EXPECT_THAT(text, testing::Not(testing::HasSubstr("Material"))) << "no material when not valid";
    } else {
      const std::string t5(5, '\t'), t6(6, '\t'), t7(7, '\t');
      EXPECT_THAT(text,
                  testing::HasSubstr(kObjectLine2 + t6 + "appearance Appearance {\n" + t7 + "material Material {\n" +
                                     t6 + "}\n" + t5 + "}\n" + t5 + "geometry IndexedFaceSet {\n"));
      EXPECT_EQ(text.find("appearance"), text.rfind("appearance"));
    }
    EXPECT_THAT(text, testing::Not(testing::HasSubstr("Anchor")));
    EXPECT_THAT(text, testing::HasSubstr("0.000000 0.000000 -1.000000,\n"));
    world_file::Check check = world_file::vrmlcheck(path);
    EXPECT_EQ(check.status, 0) << check.facts;
    EXPECT_EQ(check.facts, "version " + std::to_string(version) + "\nshapes 1\npoints 4\nfaces 2\nbadindex 0\n");
  }
}

TEST_F(Writer, AnchorNeedsAUrlAndWritesADescriptionOnlyWhenPresent) {
  WrlFile file;
  start(file, 2);
  WrlUrl url;
  url.setDescription("only a description");
  EXPECT_EQ(file.writeAnchor(url), 1);
  EXPECT_EQ(file.level(), 0);
  EXPECT_EQ(file.childrenOpen(), 0);
  file.close();
  EXPECT_EQ(written(), kEmpty2);

  for (int version : {1, 2}) {
    WrlFaceObject object;
    fillSquare(object);
    WrlMaterial material;
    {
      WrlFile again;
      start(again, version);
      url.setUrl("a.wrl");
      url.setDescription(nullptr);
      writeObject(again, url, material, object);
      url.setDescription("");
      writeObject(again, url, material, object);
      again.close();
    }
    std::string text = written();
    std::string tabs(version == 2 ? 4 : 2, '\t');
    EXPECT_EQ(text.find("description"), text.rfind("description")) << "one description line";
    EXPECT_THAT(text, testing::HasSubstr(tabs + "description \"\"\n"));
    world_file::Check check = world_file::vrmlcheck(path);
    EXPECT_EQ(check.status, 0) << check.facts;
    EXPECT_EQ(check.facts, "version " + std::to_string(version) +
                               "\nshapes 2\npoints 8\nfaces 4\nbadindex 0\nurl \"a.wrl\"\nurl \"a.wrl\"\n"
                               "description \"\"\n");
  }
  url.clear();
}

TEST_F(Writer, QuoteAndBackslashInLinksReadBackAsTheSameText) {
  const char* link = "say \"hi\" C:\\dir\\x";
  const char* description = "\\\"";
  for (int version : {1, 2}) {
    WrlUrl url;
    url.setUrl(link);
    url.setDescription(description);
    {
      WrlFaceObject object;
      fillSquare(object);
      WrlMaterial material;
      WrlFile file;
      start(file, version);
      writeObject(file, url, material, object);
      file.close();
    }
    url.clear();
    EXPECT_THAT(written(), testing::HasSubstr("\"say \\\"hi\\\" C:\\\\dir\\\\x\"\n"));
    world_file::Check check = world_file::vrmlcheck(path);
    EXPECT_EQ(check.status, 0) << check.facts;
    // vrmlcheck escapes what it read the same way, so equal lines mean equal texts.
    EXPECT_THAT(check.facts, testing::HasSubstr("url \"say \\\"hi\\\" C:\\\\dir\\\\x\"\n"));
    EXPECT_THAT(check.facts, testing::HasSubstr("description \"\\\\\\\"\"\n"));
  }
}

TEST_F(Writer, LinkLongerThanALineBufferIsWrittenWhole) {
  std::string link;
  for (int i = 0; link.size() < 5000; ++i) link += "part" + std::to_string(i) + (i % 7 ? "/" : "\"\\");
  std::string escaped;
  for (char c : link) escaped += (c == '"' || c == '\\') ? std::string("\\") + c : std::string(1, c);
  WrlUrl url;
  url.setUrl(link.c_str());
  {
    WrlFaceObject object;
    fillSquare(object);
    WrlMaterial material;
    WrlFile file;
    start(file, 2);
    writeObject(file, url, material, object);
    file.close();
  }
  url.clear();
  EXPECT_THAT(written(), testing::HasSubstr("\t\t\t\turl \"" + escaped + "\"\n"));
  world_file::Check check = world_file::vrmlcheck(path);
  EXPECT_EQ(check.status, 0);
  EXPECT_THAT(check.facts, testing::HasSubstr("url \"" + escaped + "\"\n"));
}

TEST_F(Writer, ObjectNumbersAreWrittenAsGiven) {
  {
    WrlFile file;
    file.open(path.c_str());
    EXPECT_EQ(file.beginObject(7), 1);
    file.setVersion(WrlVersion::k2);
    EXPECT_EQ(file.beginObject(-2147483647 - 1), 1);
    EXPECT_EQ(file.level(), 2);
    file.setVersion(WrlVersion::k1);  // closes the file alone
    file.close();
  }
  EXPECT_EQ(written(), "DEF Object7 Separator {\n\t\t\t\t\tDEF Object-2147483648 Shape {\n");
}

// The text of one object written alone into a fresh file of `version`.
std::string objectAlone(const std::string& path, int version) {
  WrlFaceObject object;
  fillSquare(object);
  {
    WrlFile file;
    file.setVersion(static_cast<WrlVersion>(version));
    EXPECT_EQ(file.open(path.c_str()), 1);
    EXPECT_EQ(file.beginObject(1), 1);
    EXPECT_EQ(file.writeMaterial(WrlMaterial()), 1);
    EXPECT_EQ(file.writeFaceObject(object), 1);
    file.setVersion(WrlVersion::k1);  // no outer closings
    EXPECT_EQ(file.close(), 1);
  }
  return test_support::readFile(path);
}

TEST_F(Writer, RepeatedObjectsKeepTheirLinesWhenTheVersionChangesBetween) {
  const std::string alone1 = objectAlone(path, 1), alone2 = objectAlone(path, 2);
  ASSERT_THAT(alone2, testing::HasSubstr("coordIndex ["));
  WrlFaceObject object;
  fillSquare(object);
  {
    WrlFile file;
    ASSERT_EQ(file.open(path.c_str()), 1);
    for (int version : {2, 2, 1, 1, 2}) {
      file.setVersion(static_cast<WrlVersion>(version));
      EXPECT_EQ(file.beginObject(1), 1);
      EXPECT_EQ(file.writeMaterial(WrlMaterial()), 1);
      EXPECT_EQ(file.writeFaceObject(object), 1);
    }
    file.setVersion(WrlVersion::k1);
    EXPECT_EQ(file.close(), 1);
  }
  EXPECT_EQ(written(), alone2 + alone2 + alone1 + alone1 + alone2);
}

TEST_F(Writer, MaterialLinesFollowTheVersion) {
  WrlMaterial material;
  WrlColor green;
  green.setIndex(3);
  material.setDiffuseColor(green);
  material.setTransparency(0.5);
  {
    WrlFile file;
    file.open(path.c_str());
    EXPECT_EQ(file.writeMaterial(material), 1);
    file.setVersion(WrlVersion::k2);
    EXPECT_EQ(file.writeMaterial(material), 1);
    EXPECT_EQ(file.level(), 0);
    file.setVersion(WrlVersion::k1);
    file.close();
  }
  EXPECT_EQ(
      written(),
      "\tMaterial {\n\t\tambientColor 0.000000 0.000000 0.100000\n\t\tdiffuseColor 0.000000 1.000000 0.000000\n"
      "\t\tspecularColor 0.000000 0.000000 0.000000\n\t\temissiveColor 0.000000 0.000000 0.000000\n"
      "\t\tshininess 0.200000\n\t\ttransparency 0.500000\n\t}\n"
      "\t\t\t\t\t\tappearance Appearance {\n\t\t\t\t\t\t\tmaterial Material {\n\t\t\t\t\t\t\tambientIntensity 0.2\n"
      "\t\t\t\t\t\t\tdiffuseColor 0.000000 1.000000 0.000000\n\t\t\t\t\t\t\tspecularColor 0.000000 0.000000 0.000000\n"
      "\t\t\t\t\t\t\temissiveColor 0.000000 0.000000 0.000000\n\t\t\t\t\t\t\tshininess 0.200000\n"
      "\t\t\t\t\t\t\ttransparency 0.500000\n\t\t\t\t\t\t}\n\t\t\t\t\t}\n");
}

TEST_F(Writer, ObjectWithoutEitherListIsRefusedWithoutWriting) {
  WrlFaceObject object;
  object.appendPoints(new WrlPointList);
  WrlFile file;
  start(file, 2);
  file.beginObject(1);
  EXPECT_EQ(file.writeFaceObject(object), 0);
  EXPECT_EQ(file.level(), 1);
  file.setVersion(WrlVersion::k1);
  file.close();
  std::string expected = kEmpty2;
  EXPECT_EQ(written(), expected.substr(0, expected.find("\t\t\t]")) + kObjectLine2);
}

TEST_F(Writer, FailedOpenLeavesEveryOperationFailingAndWritesNothing) {
  std::string missing = path + ".d/none/x.wrl";
  WrlFile file;
  file.setVersion(WrlVersion::k2);
  EXPECT_EQ(file.open(missing.c_str()), 0);
  EXPECT_EQ(file.open(path.c_str()), 0) << "the file object is gone for good";
  WrlUrl url;
  url.setUrl("a.wrl");
  WrlMaterial material;
  WrlFaceObject object;
  fillSquare(object);
  EXPECT_EQ(file.writeHeader(), 0);
  EXPECT_EQ(file.writeScale(1), 0);
  EXPECT_EQ(file.writeAnchor(url), 0);
  EXPECT_EQ(file.writeAnchor(WrlUrl()), 0);
  EXPECT_EQ(file.beginObject(1), 0);
  EXPECT_EQ(file.writeMaterial(material), 0);
  EXPECT_EQ(file.writeFaceObject(object), 0);
  EXPECT_EQ(file.closeObjects(), 0);
  EXPECT_EQ(file.indent(3), 0);
  EXPECT_EQ(file.close(), 0);
  EXPECT_EQ(file.level(), 0);
  EXPECT_EQ(file.setVersion(WrlVersion::k1), 1);
  EXPECT_FALSE(world_file::exists(path));
  EXPECT_FALSE(world_file::exists(missing));
  url.clear();
}

TEST_F(Writer, OperationsBeforeOpenFailOnTheirFirstWrite) {
  WrlFile file;
  file.setVersion(WrlVersion::k2);
  EXPECT_EQ(file.writeHeader(), 0);
  EXPECT_EQ(file.beginObject(1), 0);
  EXPECT_EQ(file.level(), 0);
  EXPECT_EQ(file.indent(1), 0);
  EXPECT_EQ(file.close(), 0);
}

// Point and face lists far longer than one write buffer come out whole, in
// order, with no line split or lost where the buffer fills.
TEST_F(Writer, LongListsComeOutWholeAcrossBufferFills) {
  WrlFaceObject object;
  auto* points = new WrlPointList;
  auto* faces = new WrlFaceList;
  std::string pointLines, faceLines;
  for (int i = 0; i < 300; ++i) {
    points->add(WrlPoint(i, 0, 0));
    faces->add(face({i, i + 1, i + 2}));
    pointLines += "\t\t\t\t\t\t\t\t" + std::to_string(i) + ".000000 0.000000 0.000000,\n";
    faceLines += "\t\t\t\t\t\t\t" + std::to_string(i) + "," + std::to_string(i + 1) + "," + std::to_string(i + 2) +
                 ",-1,\n";
  }
  object.appendPoints(points);
  object.appendFaces(faces);
  WrlFile file;
  start(file, 2);
  writeObject(file, WrlUrl(), WrlMaterial(), object);
  ASSERT_EQ(file.close(), 1);
  std::string text = written();
  EXPECT_NE(text.find("\t\t\t\t\t\t\tpoint[\n" + pointLines + "\t\t\t\t\t\t\t]\n"), std::string::npos);
  EXPECT_NE(text.find("\t\t\t\t\t\tcoordIndex [\n" + faceLines + "\t\t\t\t\t\t]\n"), std::string::npos);
}

TEST_F(Writer, WriteErrorInsideAnObjectKeepsTheLevelAndTheLinesBefore) {
  WrlFaceObject object;
  fillSquare(object);
  WrlUrl url;
  url.setUrl("a.wrl");
  WrlFile file;
  start(file, 2);
  ASSERT_EQ(file.writeAnchor(url), 1);
  ASSERT_EQ(file.beginObject(1), 1);
  win::file_faults::failWritesAfter(100);
  EXPECT_EQ(file.writeFaceObject(object), 0);
  EXPECT_EQ(file.level(), 2);
  EXPECT_EQ(file.childrenOpen(), 1);
  win::file_faults::disarm();
  EXPECT_EQ(file.close(), 1);
  std::string text = written();
  EXPECT_THAT(text, testing::HasSubstr(std::string(kObjectLine2) +
                                       "\t\t\t\t\tgeometry IndexedFaceSet {\n\t\t\t\t\t\tccw TRUE\n"));
  EXPECT_THAT(text, testing::Not(testing::HasSubstr("coordIndex"))) << "stopped where it failed";
  url.clear();
}

TEST_F(Writer, ARefusalInALongListKeepsEveryWholeLineBeforeIt) {
  WrlFaceObject object;
  auto* points = new WrlPointList;
  for (int i = 0; i < 2000; ++i) points->add(WrlPoint(i, 0, 0));  // many batches of lines
  object.appendPoints(points);
  object.appendFaces(new WrlFaceList);
  WrlFile file;
  start(file, 2);
  ASSERT_EQ(file.beginObject(1), 1);
  win::file_faults::failWritesAfter(30000);
  EXPECT_EQ(file.writeFaceObject(object), 0);
  win::file_faults::disarm();
  EXPECT_EQ(file.close(), 1);
  std::string text = written();
  const std::string closings = "\t\t\t]\n\t\t}\n\t]\n}\n";
  ASSERT_THAT(text, testing::EndsWith(closings));
  size_t start = text.find("\t\t\t\t\tgeometry");
  ASSERT_NE(start, std::string::npos);
  std::string objectPart = text.substr(start, text.size() - closings.size() - start);
  EXPECT_LE(objectPart.size(), 30000u);
  EXPECT_GT(objectPart.size(), 30000u - 40) << "lines up to the refused one were written";
  EXPECT_THAT(objectPart, testing::EndsWith(" 0.000000 0.000000,\n")) << "the refused line is not written in part";
}

TEST_F(Writer, FailedAnchorLeavesLevelAndChildrenUnchanged) {
  WrlUrl url;
  url.setUrl("a.wrl");
  WrlFile file;
  start(file, 2);
  win::file_faults::failWritesAfter(20);
  EXPECT_EQ(file.writeAnchor(url), 0);
  EXPECT_EQ(file.level(), 0);
  EXPECT_EQ(file.childrenOpen(), 0);
  url.clear();
}

TEST_F(Writer, ClosingStepsDoneBeforeAFailureStayDone) {
  WrlFaceObject object;
  fillSquare(object);
  WrlUrl url;
  url.setUrl("a.wrl");
  WrlMaterial material;
  WrlFile file;
  start(file, 2);
  file.writeAnchor(url);
  file.beginObject(1);
  file.writeFaceObject(object);
  ASSERT_EQ(file.level(), 1);
  win::file_faults::failWritesAfter(3);  // "\t" and "]\n" pass, "}\n" does not
  EXPECT_EQ(file.closeObjects(), 0);
  EXPECT_EQ(file.childrenOpen(), 0);
  EXPECT_EQ(file.level(), 1);
  win::file_faults::disarm();
  EXPECT_EQ(file.closeObjects(), 1);
  EXPECT_EQ(file.level(), 0);
  EXPECT_EQ(file.close(), 1);
  EXPECT_EQ(world_file::vrmlcheck(path).status, 0) << written();
  url.clear();
}

TEST_F(Writer, IndentReportsItsOwnFailure) {
  WrlFile file;
  ASSERT_EQ(file.open(path.c_str()), 1);
  EXPECT_EQ(file.indent(0), 1);
  EXPECT_EQ(file.indent(-3), 1);
  EXPECT_EQ(file.indent(20), 1);
  win::file_faults::failWritesAfter(3);
  EXPECT_EQ(file.indent(5), 0);
  EXPECT_EQ(file.indent(3), 1);
  win::file_faults::disarm();
  EXPECT_EQ(file.close(), 1);
  EXPECT_EQ(written(), std::string(23, '\t'));
}

TEST_F(Writer, FullDiskShowsAtCloseOrWhenTheBufferOverflows) {
  {
    WrlFile file;
    file.setVersion(WrlVersion::k2);
    ASSERT_EQ(file.open("/dev/full"), 1);
    EXPECT_EQ(file.writeHeader(), 1);  // still buffered
    EXPECT_EQ(file.close(), 0);
  }
  WrlFaceObject object;
  auto* points = new WrlPointList;
  for (int i = 0; i < 5000; ++i) points->add(WrlPoint(i, i, i));
  object.appendPoints(points);
  object.appendFaces(new WrlFaceList);
  WrlFile file;
  ASSERT_EQ(file.open("/dev/full"), 1);
  file.beginObject(1);
  EXPECT_EQ(file.writeFaceObject(object), 0);
  EXPECT_EQ(file.level(), 1);
}

TEST_F(Writer, FailedCloseLeavesTheFileToTheWriterDestruction) {
  {
    WrlFile file;
    start(file, 1);
    win::file_faults::failNextClose();
    EXPECT_EQ(file.close(), 0);
  }
  EXPECT_EQ(written(), std::string(kHeader1) + "Scale {\n\tscaleFactor 1.000000 1.000000 1.000000\n}\n");
}

TEST_F(Writer, LargeObjectKeepsEveryPointAndFace) {
  constexpr int kSide = 150;
  WrlFaceObject object;
  auto* points = new WrlPointList;
  for (int i = 0; i <= kSide; ++i)
    for (int j = 0; j <= kSide; ++j) points->add(WrlPoint(i * 0.5, j * -0.25, i * j * 1e-3));
  object.appendPoints(points);
  auto* faces = new WrlFaceList;
  for (int i = 0; i < kSide; ++i)
    for (int j = 0; j < kSide; ++j) {
      int32_t corner = i * (kSide + 1) + j;
      faces->add(face({corner, corner + 1, corner + kSide + 2, corner + kSide + 1}));
    }
  object.appendFaces(faces);
  for (int version : {1, 2}) {
    {
      WrlFile file;
      start(file, version);
      WrlUrl noLink;
      WrlMaterial material;
      material.setShininess(0.3);
      writeObject(file, noLink, material, object);
      EXPECT_EQ(file.close(), 1);
    }
    world_file::Check check = world_file::vrmlcheck(path);
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.facts, "version " + std::to_string(version) + "\nshapes 1\npoints " +
                               std::to_string((kSide + 1) * (kSide + 1)) + "\nfaces " + std::to_string(kSide * kSide) +
                               "\nbadindex 0\n");
  }
}
