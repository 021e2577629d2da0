// Damaged payloads: what cannot be read costs the face it belongs to, or,
// for a damaged header or data cut short, the payload; never a crash or an
// endless walk.
#include "acis_test_support.h"

using namespace acis_test;

namespace {

// The SAT text as records, one a line after the three header lines, each
// split at its spaces, so a test can change one field.
class SatRecords {
 public:
  explicit SatRecords(const std::string& text) {
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      std::vector<std::string> fields;
      std::string line = text.substr(start, end - start);
      for (size_t at = 0, space; at < line.size(); at = space + 1) {
        space = line.find(' ', at);
        if (space == std::string::npos) space = line.size();
        fields.push_back(line.substr(at, space - at));
      }
      m_lines.push_back(fields);
    }
  }
  // Field `field` (0 is the type) of record `record`.
  std::string& at(size_t record, size_t field) { return m_lines.at(record + 3).at(field); }
  // The first record of `type` from `from` on.
  size_t find(const std::string& type, size_t from = 0) {
    while (at(from, 0) != type) ++from;
    return from;
  }
  std::string text() const {
    std::string text;
    for (const auto& fields : m_lines) {
      for (size_t i = 0; i < fields.size(); ++i) text += (i ? " " : "") + fields[i];
      text += '\n';
    }
    return text;
  }

 private:
  std::vector<std::vector<std::string>> m_lines;
};

std::vector<size_t> unsupportedFaces(const acis::ParseResult& read) {
  std::vector<size_t> faces;
  for (size_t i = 0; i < read.body.faces.size(); ++i)
    if (!read.body.faces[i].supported) faces.push_back(i);
  return faces;
}

// Fields of the 7.0 layout after the type: attribute, id, history.
constexpr size_t kFaceNext = 4, kFaceLoop = 5, kFaceSurface = 8, kCoedgeNext = 4, kCoedgeEdge = 7, kPlaneSense = 13;

}  // namespace

TEST(AcisDamagedInput, ADamagedRecordCostsItsFaceAlone) {
  const std::string box = readFile("box.sat");
  struct Case {
    const char* what;
    void (*damage)(SatRecords&);
    size_t face;
    const char* reason;
  } cases[] = {
      {"a sense word no writer uses", [](SatRecords& r) { r.at(r.find("plane-surface"), kPlaneSense) = "sideways_v"; },
       0, "damaged plane surface"},
      {"a surface of an unknown kind", [](SatRecords& r) { r.at(r.find("plane-surface"), 0) = "meshsurf-surface"; }, 0,
       "surface type \"meshsurf-surface\""},
      {"a face whose surface is a point",
       [](SatRecords& r) { r.at(r.find("face"), kFaceSurface) = "$" + std::to_string(r.find("point")); }, 0,
       "the face has no surface"},
      {"a coedge whose edge is a point",
       [](SatRecords& r) { r.at(r.find("coedge"), kCoedgeEdge) = "$" + std::to_string(r.find("point")); }, 0,
       "a coedge without its edge"},
      {"a pointer past the last record", [](SatRecords& r) { r.at(r.find("face"), kFaceLoop) = "$99999"; }, 0,
       "damaged loop list"},
      // The ring of coedges closes on its second coedge, never on the first.
      {"a coedge ring that never comes back",
       [](SatRecords& r) {
         size_t second = r.find("coedge", r.find("coedge") + 1);
         r.at(second, kCoedgeNext) = "$" + std::to_string(second);
       },
       0, "damaged coedge ring"},
  };
  for (const Case& c : cases) {
    SatRecords records(box);
    c.damage(records);
    acis::ParseResult read = acis::parseSat(records.text());
    ASSERT_TRUE(read.ok) << c.what << ": " << read.error;
    ASSERT_EQ(read.body.faces.size(), 6u) << c.what;
    EXPECT_EQ(unsupportedFaces(read), std::vector<size_t>{c.face}) << c.what;
    EXPECT_EQ(read.body.faces[c.face].reason, c.reason) << c.what;
    EXPECT_TRUE(read.body.faces[c.face].loops.empty()) << c.what;
    EXPECT_FALSE(read.body.isSolid) << c.what;
  }
}

TEST(AcisDamagedInput, ListsThatTurnBackOnThemselvesEnd) {
  SatRecords records(readFile("box.sat"));
  // The third face's next face is the first.
  size_t face = records.find("face");
  size_t third = records.find("face", records.find("face", face + 1) + 1);
  records.at(third, kFaceNext) = "$" + std::to_string(face);
  acis::ParseResult read = acis::parseSat(records.text());
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.body.faces.size(), 3u);
  // A face list that names a loop as its next face is damaged: the loss shows.
  SatRecords broken(readFile("box.sat"));
  broken.at(face, kFaceNext) = "$" + std::to_string(broken.find("loop"));
  read = acis::parseSat(broken.text());
  ASSERT_EQ(read.body.faces.size(), 2u);
  EXPECT_EQ(read.body.faces[1].reason, "the face list is damaged");
  // A body whose lump is a face loses everything: the loss is a face of a
  // shell of its own, so shells still cover the faces.
  SatRecords lost(readFile("box.sat"));
  lost.at(0, 4) = "$" + std::to_string(face);
  read = acis::parseSat(lost.text());
  ASSERT_EQ(read.body.faces.size(), 1u);
  EXPECT_EQ(read.body.faces[0].reason, "the lump list is damaged");
  ASSERT_EQ(read.body.shells.size(), 1u);
  EXPECT_EQ(read.body.shells[0].faceCount, 1);
}

TEST(AcisDamagedInput, DataCutShortOrWithADamagedHeaderIsRefused) {
  for (const char* name : {"box.sat", "box_106.sat", "box_with_hole.sat", "box_moved.sab", "box_moved_literal.sab"}) {
    const std::string whole = readFile(name);
    // Where the last record ends: the end marker may be missing, the last
    // record may not.
    const size_t lastRecordEnd = std::string(name).ends_with(".sab") ? whole.rfind('\x11') + 1 : whole.rfind('#') + 1;
    for (size_t size = 0; size < lastRecordEnd; ++size) {
      std::string cut = whole.substr(0, size);
      acis::ParseResult read = std::string(name).ends_with(".sab")
                                   ? acis::parseSab({reinterpret_cast<const uint8_t*>(cut.data()), cut.size()})
                                   : acis::parseSat(cut);
      ASSERT_FALSE(read.ok) << name << " cut at " << size;
      ASSERT_FALSE(read.error.empty());
    }
    EXPECT_TRUE(parseFile(name).ok) << name;
  }
  EXPECT_EQ(acis::parseSat("ACIS\nbody $-1 #\n").error, "the SAT header has no version");
  std::string sab = readFile("box_moved.sab");
  sab[0] = 'X';
  EXPECT_EQ(acis::parseSab({reinterpret_cast<const uint8_t*>(sab.data()), sab.size()}).error,
            "the SAB header is damaged");
}

TEST(AcisSplines, SplineSurfacesKeepRowsOfConstantUAndTurnOnReversal) {
  // Two sheet faces on one bilinear patch, the second through a reference
  // and reversed. The file runs u fastest.
  const char* text =
      "700 0 1 0\n@4 test @3 7.0 @3 now\n1 1e-06 1e-10\n"
      "body $-1 -1 $-1 $1 $-1 $-1 #\nlump $-1 -1 $-1 $-1 $2 $0 #\nshell $-1 -1 $-1 $-1 $-1 $3 $-1 $1 #\n"
      "face $-1 -1 $-1 $4 $-1 $2 $-1 $5 forward double out #\n"
      "face $-1 -1 $-1 $-1 $-1 $2 $-1 $6 forward double out #\n"
      "spline-surface $-1 -1 $-1 forward { exactsur full nubs 1 1 open open none none 2 2\n"
      " 0 1 1 1\n 0 1 2 1\n 0 0 0\n 1 0 0\n 0 1 0\n 1 1 1\n 0 } I I I I #\n"
      "spline-surface $-1 -1 $-1 reversed { ref 0 } I I I I #\nEnd-of-ACIS-data\n";
  acis::ParseResult read = acis::parseSat(text);
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.body.faces.size(), 2u);
  EXPECT_TRUE(read.body.faces[0].doubleSided);
  EXPECT_FALSE(read.body.isSolid);
  const acis::NurbsSurface& patch = read.body.surfaces[0].spline;
  ASSERT_TRUE(read.body.faces[0].supported && read.body.faces[1].supported) << read.body.faces[1].reason;
  EXPECT_EQ(patch.countU, 2);
  EXPECT_EQ(patch.countV, 2);
  EXPECT_EQ(patch.knotsU, (std::vector<double>{0, 0, 1, 1}));
  EXPECT_EQ(patch.knotsV, (std::vector<double>{0, 0, 2, 2}));
  EXPECT_EQ(patch.controlPoints, (std::vector<acis::Vec3>{{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 1}}));
  const acis::NurbsSurface& reversed = read.body.surfaces[1].spline;
  EXPECT_EQ(reversed.knotsV, (std::vector<double>{-2, -2, 0, 0}));
  EXPECT_EQ(reversed.controlPoints, (std::vector<acis::Vec3>{{0, 1, 0}, {0, 0, 0}, {1, 1, 1}, {1, 0, 0}}));
}

TEST(AcisSplines, IntcurvesKeepTheirWeightsAndTurnOnReversal) {
  const std::string head =
      "700 0 1 0\n@4 test @3 7.0 @3 now\n1 1e-06 1e-10\n"
      "body $-1 -1 $-1 $1 $-1 $-1 #\nlump $-1 -1 $-1 $-1 $2 $0 #\nshell $-1 -1 $-1 $-1 $-1 $3 $-1 $1 #\n"
      "face $-1 -1 $-1 $-1 $4 $2 $-1 $5 forward single #\nloop $-1 -1 $-1 $-1 $6 $3 #\n"
      "plane-surface $-1 -1 $-1 0 0 0 0 0 1 1 0 0 forward_v I I I I #\n"
      "coedge $-1 -1 $-1 $6 $6 $-1 $7 forward $4 $-1 #\n"
      "edge $-1 -1 $-1 $8 0 $8 1 $6 $10 forward @7 unknown #\nvertex $-1 -1 $-1 $7 $9 #\n"
      "point $-1 -1 $-1 0 0 0 #\nintcurve-curve $-1 -1 $-1 ";
  const std::string data = " { exactcur full nurbs 2 open 2\n 0 2 1 2\n 0 0 0 1\n 1 1 0 0.5\n 2 0 0 1\n 0 } I I #\n";
  for (const char* sense : {"forward", "reversed"}) {
    acis::ParseResult read = acis::parseSat(head + sense + data + "End-of-ACIS-data\n");
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_TRUE(read.body.faces[0].supported) << read.body.faces[0].reason;
    ASSERT_EQ(read.body.curves.size(), 1u);
    const acis::Curve& curve = read.body.curves[0];
    ASSERT_EQ(curve.kind, acis::CurveKind::Spline);
    EXPECT_EQ(curve.spline.degree, 2);
    EXPECT_TRUE(curve.spline.rational);
    EXPECT_EQ(curve.spline.weights, (std::vector<double>{1, 0.5, 1}));
    if (std::string(sense) == "forward") {
      EXPECT_EQ(curve.spline.knots, (std::vector<double>{0, 0, 0, 1, 1, 1}));
      EXPECT_EQ(curve.spline.controlPoints.front(), (acis::Vec3{0, 0, 0}));
    } else {
      EXPECT_EQ(curve.spline.knots, (std::vector<double>{-1, -1, -1, 0, 0, 0}));
      EXPECT_EQ(curve.spline.controlPoints.front(), (acis::Vec3{2, 0, 0}));
    }
  }
  // A curve whose spline data the file does not keep costs the face.
  acis::ParseResult bare = acis::parseSat(head + "forward { exactcur nullbs 0 } I I #\nEnd-of-ACIS-data\n");
  ASSERT_TRUE(bare.ok) << bare.error;
  EXPECT_FALSE(bare.body.faces[0].supported);
  EXPECT_EQ(bare.body.faces[0].reason, "spline data of form \"nullbs\"");
}
