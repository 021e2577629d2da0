// Decoding fuzzed bytes into entities, written as DXF text.
#include "entries/facet_drawing.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace fuzz_entry {
namespace {

class ByteSource {
 public:
  explicit ByteSource(std::string_view bytes) : m_bytes(bytes) {}
  uint8_t byte() { return m_pos < m_bytes.size() ? static_cast<uint8_t>(m_bytes[m_pos++]) : 0; }
  unsigned below(unsigned n) { return byte() % n; }
  bool flip() { return byte() & 1; }

  double real() {
    static constexpr double kPalette[] = {
        0, 1, -1, 0.5, 2, 3, 10, 100, 1e-12, 1e-300, 1e6, 1e15, 1e300, -1e300, 6.283185307179586, 1.5707963267948966};
    uint8_t b = byte();
    if (b < 160) return kPalette[b % std::size(kPalette)];
    if (b < 232) return (static_cast<int>(byte()) - 128) / 4.0;
    double raw = 0;
    for (size_t i = 0; i < sizeof raw; ++i) reinterpret_cast<uint8_t*>(&raw)[i] = byte();
    return std::isfinite(raw) ? raw : 1e308;
  }

  int64_t integer() {
    static constexpr int64_t kPalette[] = {0,        1,     2,      3,       4,          -1,
                                           65535,    32767, -32768, 1000000, 2147483647, -2147483648LL,
                                           1LL << 40};
    uint8_t b = byte();
    if (b < 200) return b % 16;
    return kPalette[b % std::size(kPalette)];
  }

 private:
  std::string_view m_bytes;
  size_t m_pos = 0;
};

class DrawingText {
 public:
  explicit DrawingText(std::string_view bytes) : m_in(bytes) {}

  std::string build() {
    tag(0, "SECTION");
    tag(2, "BLOCKS");
    unsigned blocks = m_in.below(4);
    for (unsigned i = 0; i < blocks; ++i) block(i);
    tag(0, "ENDSEC");
    tag(0, "SECTION");
    tag(2, "ENTITIES");
    unsigned entities = 1 + m_in.below(3);
    for (unsigned i = 0; i < entities; ++i) entity();
    tag(0, "ENDSEC");
    tag(0, "EOF");
    return std::move(m_text);
  }

 private:
  void tag(int code, std::string_view value) {
    char line[16];
    m_text.append(line, static_cast<size_t>(std::snprintf(line, sizeof line, "%d\n", code)));
    m_text.append(value);
    m_text += '\n';
  }
  void real(int code, double value) {
    char text[40];
    tag(code, std::string_view(text, static_cast<size_t>(std::snprintf(text, sizeof text, "%.17g", value))));
  }
  void real(int code) { real(code, m_in.real()); }
  void integer(int code, int64_t value) {
    char text[24];
    tag(code, std::string_view(text, static_cast<size_t>(
                                         std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value)))));
  }
  void integer(int code) { integer(code, m_in.integer()); }
  void point(int code) {
    real(code);
    real(code + 10);
    real(code + 20);
  }
  // An insert's column or row count (stray 70 and 71 tags may become one):
  // small, or far past what the facetter takes (refused on entry). Nested
  // arrays of thousands of cells of a thick arc outlast the fuzzer's timeout
  // in the instrumented facetter and reach no code three by three does not.
  int64_t arrayCount() {
    static constexpr int64_t kBeyond[] = {-1, -32768, 100001, 1000000, 2147483647, 1LL << 40};
    uint8_t b = m_in.byte();
    return b < 208 ? b % 4 : kBeyond[b % std::size(kBeyond)];
  }
  void maybeReal(int code) {
    if (m_in.flip()) real(code);
  }
  void maybeInteger(int code) {
    if (m_in.flip()) integer(code);
  }

  void block(unsigned index) {
    const std::string name = "B" + std::to_string(index);
    tag(0, "BLOCK");
    tag(8, "0");
    tag(2, name);
    tag(70, "0");
    point(10);
    tag(3, name);
    unsigned entities = m_in.below(4);
    for (unsigned i = 0; i < entities; ++i) entity();
    tag(0, "ENDBLK");
    tag(8, "0");
  }

  void entity() {
    static constexpr const char* kTypes[] = {"3DFACE", "SOLID",      "TRACE",    "LINE", "ARC",
                                             "CIRCLE", "LWPOLYLINE", "POLYLINE", "MESH", "INSERT"};
    const char* type = kTypes[m_in.below(std::size(kTypes))];
    tag(0, type);
    tag(8, "0");
    std::string_view kind(type);
    if (kind == "POLYLINE") return polyline();
    if (kind == "3DFACE" || kind == "SOLID" || kind == "TRACE") {
      for (int code = 10; code <= 13; ++code) point(code);
      maybeInteger(70);
    } else if (kind == "LINE") {
      point(10);
      point(11);
    } else if (kind == "ARC" || kind == "CIRCLE") {
      point(10);
      real(40);
      if (kind == "ARC") {
        real(50);
        real(51);
      }
    } else if (kind == "LWPOLYLINE") {
      lwpolyline();
    } else if (kind == "MESH") {
      mesh();
    } else {
      insert();
    }
    common();
  }

  // What any entity may carry: colour, thickness, extrusion, stray tags.
  void common() {
    maybeInteger(62);
    maybeReal(39);
    if (m_in.flip()) point(210);
    static constexpr int kStray[] = {10, 20, 30, 11, 38, 39, 40, 41, 42, 43, 44, 45,  50,  51,
                                     70, 71, 72, 73, 74, 75, 90, 91, 92, 93, 94, 210, 220, 230};
    unsigned stray = m_in.below(4);
    for (unsigned i = 0; i < stray; ++i) {
      int code = kStray[m_in.below(std::size(kStray))];
      if (code < 60 || code >= 210) real(code);
      else if (code == 70 || code == 71) integer(code, arrayCount());
      else integer(code);
    }
  }

  void lwpolyline() {
    unsigned count = m_in.below(9);
    integer(90, m_in.flip() ? count : m_in.integer());
    integer(70, m_in.below(4) == 0 ? m_in.integer() : m_in.below(2));
    maybeReal(43);
    maybeReal(38);
    for (unsigned i = 0; i < count; ++i) {
      real(10);
      real(20);
      maybeReal(40);
      maybeReal(41);
      maybeReal(42);
    }
  }

  void polyline() {
    static constexpr int kFlags[] = {0, 1, 8, 9, 16, 17, 32, 48, 64, 65};
    tag(66, "1");
    real(10, 0);
    real(20, 0);
    real(30);
    int64_t flags = m_in.below(5) == 0 ? m_in.integer() : kFlags[m_in.below(std::size(kFlags))];
    integer(70, flags);
    maybeInteger(71);
    maybeInteger(72);
    maybeInteger(73);
    maybeInteger(74);
    maybeInteger(75);
    maybeReal(40);
    maybeReal(41);
    common();
    static constexpr int kVertexFlags[] = {0, 1, 16, 32, 64, 128, 192, 8};
    unsigned vertices = m_in.below(13);
    for (unsigned i = 0; i < vertices; ++i) {
      tag(0, "VERTEX");
      tag(8, "0");
      point(10);
      integer(70, kVertexFlags[m_in.below(std::size(kVertexFlags))]);
      maybeReal(40);
      maybeReal(41);
      maybeReal(42);
      for (int code = 71; code <= 74; ++code) maybeInteger(code);
    }
    tag(0, "SEQEND");
    tag(8, "0");
  }

  void mesh() {
    tag(100, "AcDbEntity");
    tag(100, "AcDbSubDMesh");
    tag(71, "2");
    tag(72, "0");
    integer(91, m_in.below(3));
    unsigned vertices = m_in.below(9);
    integer(92, m_in.below(6) == 0 ? m_in.integer() : vertices);
    for (unsigned i = 0; i < vertices; ++i) point(10);
    unsigned faces = m_in.below(5);
    std::vector<int64_t> list;
    for (unsigned f = 0; f < faces; ++f) {
      unsigned corners = m_in.below(6);
      list.push_back(m_in.below(6) == 0 ? m_in.integer() : corners);
      for (unsigned c = 0; c < corners; ++c)
        list.push_back(m_in.below(4) == 0 ? m_in.integer() : m_in.below(vertices + 1));
    }
    integer(93, m_in.below(6) == 0 ? m_in.integer() : static_cast<int64_t>(list.size()));
    for (int64_t item : list) integer(90, item);
  }

  void insert() {
    tag(2, "B" + std::to_string(m_in.below(4)));
    point(10);
    maybeReal(41);
    maybeReal(42);
    maybeReal(43);
    maybeReal(50);
    if (m_in.flip()) {
      integer(70, arrayCount());
      integer(71, arrayCount());
      real(44);
      real(45);
    }
  }

  ByteSource m_in;
  std::string m_text;
};

}  // namespace

std::string facetDrawing(std::string_view bytes) { return DrawingText(bytes).build(); }

}  // namespace fuzz_entry
