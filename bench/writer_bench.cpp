// Writing speed of world files: one face object of a terrain of quads
// written as VRML 2.0 by the module's writer, against a plain loop that
// formats the same point and index lines with std::to_chars into a large
// buffer. Both report bytes per second; their ratio is the writer's overhead.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "wrl_file.h"
#include "wrl_flist.h"
#include "wrl_fobj.h"
#include "wrl_ptlist.h"

namespace {

constexpr int kColumns = 100;
constexpr int kPointTabs = 8;
constexpr int kFaceTabs = 7;

std::string scratchPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::to_string(getpid()) + name)).string();
}

// Quads over a grid of (rows + 1) x (kColumns + 1) points.
void makeTerrain(WrlFaceObject& object, int64_t faces) {
  const int64_t rows = (faces + kColumns - 1) / kColumns;
  auto* points = new WrlPointList;
  for (int64_t row = 0; row <= rows; ++row)
    for (int column = 0; column <= kColumns; ++column)
      points->add(WrlPoint(column * 0.5, row * 0.5, static_cast<double>((column * 7 + row * 13) % 101) * 0.037));
  auto* list = new WrlFaceList;
  for (int64_t face = 0; face < faces; ++face) {
    const int32_t corner = static_cast<int32_t>(face / kColumns * (kColumns + 1) + face % kColumns);
    WrlFace quad;
    quad.setCount(4);
    const int32_t corners[] = {corner, corner + 1, corner + kColumns + 2, corner + kColumns + 1};
    for (int c = 0; c < 4; ++c) quad.setCorner(c, corners[c]);
    list->add(quad);
  }
  object.appendPoints(points);
  object.appendFaces(list);
}

bool writeWithWriter(const std::string& path, const WrlFaceObject& object) {
  WrlFile file;
  return file.open(path.c_str()) && file.setVersion(WrlVersion::k2) && file.writeHeader() && file.beginObject(1) &&
         file.writeFaceObject(object) && file.closeObjects() && file.close() && !file.writeFailed();
}

// The point and index lines only, as the plain loop writes them.
class PlainLines {
 public:
  explicit PlainLines(std::FILE* file) : m_file(file), m_buffer(1 << 20) {}
  ~PlainLines() { flush(); }

  void tabs(int count) {
    room(count);
    std::memset(m_buffer.data() + m_used, '\t', static_cast<size_t>(count));
    m_used += static_cast<size_t>(count);
  }
  void fixed(double value, char after) {
    room(340);
    char* end = std::to_chars(cursor(), m_buffer.data() + m_buffer.size(), value, std::chars_format::fixed, 6).ptr;
    *end = after;
    m_used = static_cast<size_t>(end + 1 - m_buffer.data());
  }
  void integer(int32_t value) {
    room(13);
    char* end = std::to_chars(cursor(), m_buffer.data() + m_buffer.size(), value).ptr;
    *end = ',';
    m_used = static_cast<size_t>(end + 1 - m_buffer.data());
  }
  void text(const char* text) {
    const size_t length = std::strlen(text);
    room(length);
    std::memcpy(cursor(), text, length);
    m_used += length;
  }
  void flush() {
    std::fwrite(m_buffer.data(), 1, m_used, m_file);
    m_used = 0;
  }

 private:
  void room(size_t bytes) {
    if (m_used + bytes > m_buffer.size()) flush();
  }
  char* cursor() { return m_buffer.data() + m_used; }

  std::FILE* m_file;
  std::vector<char> m_buffer;
  size_t m_used = 0;
};

bool writePlain(const std::string& path, const WrlFaceObject& object) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  {
    PlainLines out(file);
    for (const WrlPoint& point : *object.points()) {
      out.tabs(kPointTabs);
      out.fixed(point.x(), ' ');
      out.fixed(point.y(), ' ');
      out.fixed(point.z(), ',');
      out.text("\n");
    }
    for (const WrlFace& face : *object.faces()) {
      out.tabs(kFaceTabs);
      for (int c = 0; c < face.count(); ++c) out.integer(face.corner(c));
      out.text("-1,\n");
    }
  }
  return std::fclose(file) == 0;
}

std::string contents(const std::string& path) {
  std::string text;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char block[1 << 16];
    for (size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) text.append(block, got);
    std::fclose(file);
  }
  return text;
}

// The plain loop is only a fair baseline when its lines are the writer's:
// its point lines and its index lines must each appear in the writer's file.
bool sameLines(const std::string& writerPath, const std::string& plainPath, size_t points) {
  const std::string written = contents(writerPath), plain = contents(plainPath);
  size_t pointBytes = 0;
  for (size_t line = 0; line < points; ++line) pointBytes = plain.find('\n', pointBytes) + 1;
  return !plain.empty() && written.find(plain.substr(0, pointBytes)) != std::string::npos &&
         written.find(plain.substr(pointBytes)) != std::string::npos;
}

void run(benchmark::State& state, bool plain) {
  WrlFaceObject object;
  makeTerrain(object, state.range(0));
  const std::string path = scratchPath(plain ? "_plain.wrl" : "_writer.wrl");
  if (plain) {
    const std::string check = scratchPath("_check.wrl");
    const bool same = writeWithWriter(check, object) && writePlain(path, object) &&
                      sameLines(check, path, object.points()->size());
    std::filesystem::remove(check);
    if (!same) {
      state.SkipWithError("the plain loop's lines differ from the writer's");
      return;
    }
  }
  for (auto _ : state)
    if (!(plain ? writePlain(path, object) : writeWithWriter(path, object))) state.SkipWithError("write failed");
  const auto bytes = static_cast<int64_t>(std::filesystem::file_size(path));
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
  std::filesystem::remove(path);
}

void WriteFaceObject(benchmark::State& state) { run(state, false); }
void WritePlainToChars(benchmark::State& state) { run(state, true); }

}  // namespace

BENCHMARK(WriteFaceObject)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(WritePlainToChars)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
