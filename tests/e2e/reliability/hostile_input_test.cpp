// Hostile drawings through the host, each run under a memory and a time
// limit: a correct export or a clear refusal, never a crash, never a world
// file a VRML reader rejects. A sample cut short at every 1 kB is refused
// with the file and the line (or byte) where it breaks off.
#include <gmock/gmock.h>

#include <cctype>
#include <filesystem>

#include "hostile_drawing.h"
#include "support/corpus.h"
#include "support/files.h"
#include "support/run_host.h"
#include "support/scratch_dir.h"

using namespace test_support;

namespace {

using namespace hostile;
namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
#define VRML_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VRML_ADDRESS_SANITIZER 1
#endif
#endif

// The sanitizer reserves terabytes of address space, so there the memory
// bound is its own resident-size limit. Its reports get an exit status of
// their own, apart from a failed batch's 1.
#ifdef VRML_ADDRESS_SANITIZER
const char* const kMemoryLimit =
    "export ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}hard_rss_limit_mb=1024:exitcode=86\"";
#else
const char* const kMemoryLimit = "ulimit -v 1048576";
#endif
constexpr int kSeconds = 120;

// The host on `drawing` with `script`, limited; status 0 or 1 from the host,
// anything else from the limits, a signal or a sanitizer.
ProcessResult boundedHost(const ScratchDir& scratch, const std::string& drawing, const std::string& script) {
  writeFile(scratch.file("answers.scr"), script);
  writeFile(scratch.file("run.sh"), std::string(kMemoryLimit) + "\nexport ARXHOST_REGISTRY='" +
                                        scratch.file("registry.txt") + "'\nexec timeout -s KILL " +
                                        std::to_string(kSeconds) + " '" + binPath("arxhost") + "' --batch '" + drawing +
                                        "' --load '" + binPath("vrml.arx") + "' --script '" +
                                        scratch.file("answers.scr") + "' </dev/null\n");
  return runCommand("sh '" + scratch.file("run.sh") + "' 2>&1");
}

void expectNoSanitizerReport(const std::string& output) {
  EXPECT_THAT(output, testing::Not(testing::HasSubstr("Sanitizer")));
  EXPECT_THAT(output, testing::Not(testing::HasSubstr("runtime error:")));
}

struct HostileCase {
  const char* name;
  std::string (*make)();
  std::string facts;  // what the checker must find in the world
};

std::string billionVertexPolyface() {
  return drawing("", polyline(64, tag(71, "1000000000") + tag(72, "1000000000")) + vertex(0, 0, 192) +
                         vertex(1, 0, 192) + vertex(0, 1, 192) +
                         vertex(0, 0, 128, tag(71, "1") + tag(72, "2") + tag(73, "3")) + seqend());
}

std::string billionVertexMesh() {
  return drawing("", polyline(16, tag(71, "1000000000") + tag(72, "1000000000")) + vertex(0, 0, 64) + vertex(1, 0, 64) +
                         vertex(0, 1, 64) + vertex(1, 1, 64) + seqend());
}

std::string billionSurfaceDensity() {
  return drawing("", polyline(16, tag(71, "2") + tag(72, "2") + tag(73, "1000000000") + tag(74, "1000000000") +
                                      tag(75, "6")) +
                         vertex(0, 0, 64) + vertex(1, 0, 64) + vertex(0, 1, 64) + vertex(1, 1, 64) + seqend());
}

// Three vertices and six faces. A negative number names the same corner with
// its edge hidden, so -1 -2 -3 and 1 2 3 are the two faces that exist; the
// others name corners beyond the mesh (or none).
std::string polyfaceCornersOutOfRange() {
  auto corners = [](const char* a, const char* b, const char* c, const char* d) {
    return tag(71, a) + tag(72, b) + tag(73, c) + tag(74, d);
  };
  return drawing("", polyline(64, tag(71, "3") + tag(72, "6")) + vertex(0, 0, 192) + vertex(1, 0, 192) +
                         vertex(0, 1, 192) + vertex(0, 0, 128, corners("-1", "-2", "-3", "0")) +
                         vertex(0, 0, 128, corners("1", "2", "99999", "0")) +
                         vertex(0, 0, 128, corners("-2147483648", "2147483647", "3", "-4")) +
                         vertex(0, 0, 128, corners("1", "2", "3", "4")) +
                         vertex(0, 0, 128, corners("0", "0", "0", "0")) +
                         vertex(0, 0, 128, corners("1", "2", "3", "0")) + seqend());
}

std::string blockInsertingItself() { return drawing(block("A", face() + insert("A")), insert("A")); }

std::string blocksInsertingEachOther() {
  return drawing(block("A", face() + insert("B")) + block("B", face(2) + insert("A")), insert("A"));
}

std::string blocksTenThousandDeep() {
  std::string blocks;
  for (int level = 0; level < 10000; ++level)
    blocks += block("B" + std::to_string(level), face() + insert("B" + std::to_string(level + 1)));
  return drawing(blocks + block("B10000", face()), insert("B0"));
}

// Four by four placements a level, twenty levels: 16^20 faces asked for.
std::string placementsBeyondCounting() {
  std::string blocks;
  for (int level = 0; level < 20; ++level)
    blocks += block("F" + std::to_string(level), insert("F" + std::to_string(level + 1), 4, 4));
  return drawing(blocks + block("F20", face()), insert("F0"));
}

std::string billionCellArray() { return drawing(block("A", face()), insert("A", 1000000000, 1000000000)); }

std::string coordinatesBeyondSinglePrecision() {
  return drawing("", tag(0, "3DFACE") + tag(8, "0") + tag(10, 1.7e308) + tag(20, -1.7e308) + tag(30, 0.0) +
                         tag(11, -1e39) + tag(21, 0.0) + tag(31, 1e39) + tag(12, 0.0) + tag(22, 1.0) + tag(32, 0.0) +
                         tag(13, 0.0) + tag(23, 0.0) + tag(33, 0.0) + face(3));
}

std::string insertScaledToOverflow() { return drawing(block("H", face(1e300)), insert("H", 1, 1, 1e300) + face(5)); }

std::string hundredKilobyteTexts() {
  return drawing("", face() + tag(1001, "PE_URL") + tag(1000, std::string(100000, 'u')) + tag(1001, "VRML_Url_Data") +
                         tag(1000, std::string(100000, 'd')));
}

// The number that ends right before the last `after` in the text; -1 when
// there is none.
long lastNumberBefore(const std::string& text, const std::string& after) {
  size_t end = text.rfind(after);
  size_t start = end;
  while (start != std::string::npos && start > 0 && std::isdigit(static_cast<unsigned char>(text[start - 1]))) --start;
  return start == end ? -1 : std::stol(text.substr(start, end - start));
}

// What the progress window last showed must agree with the world: every
// selected object counted once, as converted only when it is in the file.
void expectCountsMatchTheWorld(const std::string& run, const std::string& facts) {
  long selected = lastNumberBefore(run, " found\n");
  long converted = lastNumberBefore(run, " object(s) converted.\"");
  long ignored = lastNumberBefore(run, " object(s) ignored.\"");
  long shapes = lastNumberBefore(facts, "\npoints ");
  ASSERT_GT(selected, 0) << run;
  EXPECT_EQ(converted, shapes) << run << facts;
  EXPECT_EQ(converted + ignored, selected) << run;
}

class HostileDrawing : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileDrawing, ExportsCorrectlyOrRefusesWithinBounds) {
  ScratchDir scratch;
  const std::string path = scratch.file("hostile.dxf"), world = scratch.file("hostile.wrl");
  writeFile(path, GetParam().make());
  ProcessResult run = boundedHost(scratch, path, "VRMLOUT\nALL\n\n" + world + "\nclick VRML 2.0\nok\n");
  EXPECT_EQ(run.status, 0) << run.output;
  expectNoSanitizerReport(run.output);
  ProcessResult check = runCommand("'" + binPath("vrmlcheck") + "' '" + world + "' 2>&1");
  EXPECT_EQ(check.status, 0) << check.output;
  EXPECT_THAT(check.output, testing::HasSubstr(GetParam().facts)) << check.output << run.output;
  expectCountsMatchTheWorld(run.output, check.output);
}

INSTANTIATE_TEST_SUITE_P(
    Drawings, HostileDrawing,
    ::testing::Values(
        HostileCase{"PolyfaceAnnouncingABillionVertices", billionVertexPolyface, "shapes 1\npoints 3\nfaces 1\n"},
        HostileCase{"MeshAnnouncingABillionVertices", billionVertexMesh, "shapes 0\n"},
        HostileCase{"SurfaceDensitiesOfABillion", billionSurfaceDensity, "shapes 1\npoints 4\n"},
        HostileCase{"PolyfaceCornersNegativeAndOutOfRange", polyfaceCornersOutOfRange,
                    "shapes 1\npoints 3\nfaces 2\nbadindex 0\n"},
        HostileCase{"BlockInsertingItself", blockInsertingItself, "shapes 0\n"},
        HostileCase{"BlocksInsertingEachOther", blocksInsertingEachOther, "shapes 0\n"},
        HostileCase{"BlocksNestedTenThousandDeep", blocksTenThousandDeep, "shapes 0\n"},
        HostileCase{"PlacementsBeyondCounting", placementsBeyondCounting, "shapes 0\n"},
        HostileCase{"ArrayOfABillionByABillion", billionCellArray, "shapes 0\n"},
        // Only the plain face beside them can be written.
        HostileCase{"CoordinatesBeyondSinglePrecision", coordinatesBeyondSinglePrecision, "shapes 1\npoints 4\n"},
        HostileCase{"InsertScaledToOverflow", insertScaledToOverflow, "shapes 1\npoints 4\n"},
        HostileCase{"HundredKilobyteTextsInExtendedData", hundredKilobyteTexts,
                    "shapes 1\npoints 4\nfaces 1\nbadindex 0\nurl \"" + std::string(100000, 'u') +
                        "\"\ndescription \"" + std::string(100000, 'd') + "\"\n"}),
    [](const ::testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); });

// Numbers a drawing file may not hold are refused where they stand.
TEST(NonFiniteNumber, IsRefusedWithTheLine) {
  ScratchDir scratch;
  const std::string path = scratch.file("nonfinite.dxf");
  for (const char* number : {"nan", "-inf", "1e999", "-1e400"}) {
    SCOPED_TRACE(number);
    std::string text = drawing("", face(1) + face(2));
    text.replace(text.rfind("\n10\n2\n") + 4, 1, number);  // the second face's first X
    writeFile(path, text);
    ProcessResult run = boundedHost(scratch, path, "QUIT\n");
    EXPECT_TRUE(run.status == 0 || run.status == 1) << run.output;
    expectNoSanitizerReport(run.output);
    EXPECT_THAT(run.output, testing::HasSubstr(path + ": line "));
    EXPECT_THAT(run.output, testing::HasSubstr(std::string(": invalid number \"") + number + "\" for group code 10"));
  }
}

// The file cut after every whole kilobyte; the last cut keeps all but the
// final partial kilobyte.
void expectEveryCutRefused(const std::string& original, const char* unit) {
  const std::string bytes = readFile(original);
  ASSERT_GT(bytes.size(), 1024u);
  ScratchDir scratch;
  const std::string cut = scratch.file("cut.dxf");
  size_t cuts = 0;
  for (size_t length = 1024; length < bytes.size(); length += 1024, ++cuts) {
    writeFile(cut, bytes.substr(0, length));
    ProcessResult run = boundedHost(scratch, cut, "QUIT\n");
    SCOPED_TRACE("cut at " + std::to_string(length));
    EXPECT_TRUE(run.status == 0 || run.status == 1) << run.output;
    expectNoSanitizerReport(run.output);
    EXPECT_THAT(run.output, testing::HasSubstr("\n" + cut + ": " + unit + " "));
  }
  std::printf("%s: %zu cuts refused\n", fs::path(original).filename().c_str(), cuts);
}

TEST(TruncatedDrawing, ATextSampleCutAtEveryKilobyteIsRefusedWithTheLine) {
  expectEveryCutRefused(std::string(VRML_SOURCE_DIR) + "/samples/showcase.dxf", "line");
}

TEST(TruncatedDrawing, ABinaryDrawingCutAtEveryKilobyteIsRefusedWithTheByte) {
  SKIP_WITHOUT_CORPUS();
  expectEveryCutRefused(corpusFile("ezdxf__bin_dxf_r13.dxf"), "byte");
}

}  // namespace
