#include "wrl_file.h"

#include <algorithm>
#include <cstring>

#include "afx.h"
#include "wrl_fobj.h"
#include "wrl_mat.h"
#include "wrl_number.h"
#include "wrl_url.h"

namespace {

constexpr char kTabs[] = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
constexpr int kTabChunk = sizeof kTabs - 1;

}  // namespace

// One line on its way to the file, gathered with the other lines of the
// operation under way: they go to the file together (sendLines()), at the
// operation's end and before any change of state that needs them written.
class WrlFile::Line {
 public:
  // A line that starts with `tabs` tab characters.
  Line(WrlFile& file, int tabs) : m_file(file) { indent(tabs); }

  Line& indent(int tabs) {
    for (; tabs > 0; tabs -= kTabChunk) append(kTabs, static_cast<size_t>(tabs < kTabChunk ? tabs : kTabChunk));
    return *this;
  }

  Line& text(const char* text) { return append(text, std::strlen(text)); }

  Line& append(const char* text, size_t length) {
    while (length > 0) {
      if (m_file.m_pendingBytes == sizeof m_file.m_pending) m_file.sendLines();
      size_t room = sizeof m_file.m_pending - m_file.m_pendingBytes;
      size_t piece = room < length ? room : length;
      std::memcpy(m_file.m_pending + m_file.m_pendingBytes, text, piece);
      m_file.m_pendingBytes += piece;
      text += piece;
      length -= piece;
    }
    return *this;
  }

  // Between double quotes, with the quote and the backslash escaped.
  Line& quoted(const char* text) {
    put('"');
    for (; *text; ++text) {
      if (*text == '"' || *text == '\\') put('\\');
      put(*text);
    }
    put('"');
    return *this;
  }

  Line& fixed(double value) {
    room(wrl_number::kMaxFixedChars);
    char* at = m_file.m_pending + m_file.m_pendingBytes;
    m_file.m_pendingBytes += static_cast<size_t>(wrl_number::fixed6(at, value) - at);
    return *this;
  }

  Line& integer(int32_t value) {
    room(wrl_number::kMaxIntChars);
    char* at = m_file.m_pending + m_file.m_pendingBytes;
    m_file.m_pendingBytes += static_cast<size_t>(wrl_number::integer(at, value) - at);
    return *this;
  }

  // Ends the line; it goes to the file with the operation's others.
  Line& newline() {
    put('\n');
    return *this;
  }

 private:
  void put(char c) {
    room(1);
    m_file.m_pending[m_file.m_pendingBytes++] = c;
  }
  void room(size_t count) {
    if (m_file.m_pendingBytes + count > sizeof m_file.m_pending) m_file.sendLines();
  }

  WrlFile& m_file;
};

WrlFile::WrlFile() : m_file(new CFile) {}

WrlFile::~WrlFile() { delete m_file; }

template <typename Body>
int WrlFile::catchingWriteFailure(Body body) {
  if (!m_file) return 0;
  try {
    body();
    sendLines();
  } catch (CFileException* error) {
    error->Delete();
    m_pendingBytes = 0;
    m_writeFailed = 1;
    return 0;
  }
  return 1;
}

// One write for the lines gathered; a write costs as much as formatting a
// line. When the file refuses them, they go again one at a time, so that
// the lines before the one refused stay in the file as they would have
// line by line, and the first refusal is what the operation reports.
void WrlFile::sendLines() {
  size_t count = m_pendingBytes;
  m_pendingBytes = 0;
  if (count == 0) return;
  CFileException* refused = nullptr;
  try {
    m_file->Write(m_pending, static_cast<UINT>(count));
    return;
  } catch (CFileException* error) {
    refused = error;
  }
  try {
    for (size_t start = 0; start < count;) {
      const void* lineEnd = std::memchr(m_pending + start, '\n', count - start);
      size_t end = lineEnd ? static_cast<size_t>(static_cast<const char*>(lineEnd) - m_pending) + 1 : count;
      m_file->Write(m_pending + start, static_cast<UINT>(end - start));
      start = end;
    }
  } catch (CFileException* error) {
    error->Delete();
  }
  throw refused;
}

int WrlFile::open(const char* path) {
  if (!m_file) return 0;
  if (path && m_file->Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) return 1;
  delete m_file;
  m_file = nullptr;
  return 0;
}

int WrlFile::setVersion(WrlVersion version) {
  m_version = version;
  return 1;
}

int WrlFile::indent(int count) {
  return catchingWriteFailure([&] {
    for (; count > 0; count -= kTabChunk)
      m_file->Write(kTabs, static_cast<UINT>(count < kTabChunk ? count : kTabChunk));
  });
}

void WrlFile::put(int tabs, std::string_view text) {
  // Most lines fit whole: copied at once, not a character check at a time.
  if (tabs < 0 || tabs > kTabChunk || m_pendingBytes + kTabChunk + text.size() + 1 > sizeof m_pending) {
    Line(*this, tabs).append(text.data(), text.size()).newline();
    return;
  }
  char* at = lineRoom(tabs, text.size() + 1);
  std::memcpy(at, text.data(), text.size());
  at[text.size()] = '\n';
  m_pendingBytes = static_cast<size_t>(at + text.size() + 1 - m_pending);
}

template <size_t N>
void WrlFile::putAll(const TabbedText (&lines)[N]) {
  for (const TabbedText& line : lines) put(line.tabs, line.text);
}

void WrlFile::putTriple(int tabs, const char* name, double first, double second, double third) {
  Line(*this, tabs).text(name).text(" ").fixed(first).text(" ").fixed(second).text(" ").fixed(third).newline();
}

void WrlFile::putQuoted(int tabs, const char* name, const char* text) {
  Line(*this, tabs).text(name).text(" ").quoted(text).newline();
}

// The first time, `lines` put the block and what they wrote is kept; later
// the kept text is copied whole. Kept per version, as the lines depend on it.
template <typename Lines>
void WrlFile::putFixed(Fixed which, Lines lines) {
  FixedText& fixed = m_fixed[static_cast<size_t>(which)];
  if (fixed.length > 0 && fixed.version == m_version) {
    if (m_pendingBytes + fixed.length > sizeof m_pending) sendLines();
    std::memcpy(m_pending + m_pendingBytes, fixed.text, fixed.length);
    m_pendingBytes += fixed.length;
    return;
  }
  if (m_pendingBytes + sizeof fixed.text > sizeof m_pending) sendLines();
  size_t start = m_pendingBytes;
  lines();
  size_t length = m_pendingBytes - start;
  if (length > sizeof fixed.text) return;  // too long to keep: put each time
  std::memcpy(fixed.text, m_pending + start, length);
  fixed.length = length;
  fixed.version = m_version;
}

// A point or face list is most of a world file: its lines are formatted in
// place, with room for the longest made first.
char* WrlFile::lineRoom(int tabs, size_t most) {
  if (m_pendingBytes + kTabChunk + most > sizeof m_pending) sendLines();
  char* at = m_pending + m_pendingBytes;
  // All of them in one copy of fixed size; those past `tabs` are written over.
  std::memcpy(at, kTabs, kTabChunk);
  return at + tabs;
}

void WrlFile::putPointLine(int tabs, const WrlPoint& point) {
  char* at = lineRoom(tabs, 3 * (WrlRecentNumbers::kRoom + 1) + 1);
  at = m_recentNumbers.fixed6(at, point.x());
  *at++ = ' ';
  at = m_recentNumbers.fixed6(at, point.y());
  *at++ = ' ';
  at = m_recentNumbers.fixed6(at, point.z());
  *at++ = ',';
  *at++ = '\n';
  m_pendingBytes = static_cast<size_t>(at - m_pending);
}

void WrlFile::putFaceLine(int tabs, const WrlFace& face) {
  char* at = lineRoom(tabs, 4 * (wrl_number::kMaxIntChars + 1) + 4);
  for (int corner = 0; corner < face.count(); ++corner) {
    // A small object's point numbers are single digits: no call for them.
    int32_t point = face.corner(corner);
    if (point >= 0 && point < 10) *at++ = static_cast<char>('0' + point);
    else at = wrl_number::integer(at, point);
    *at++ = ',';
  }
  std::memcpy(at, "-1,\n", 4);
  m_pendingBytes = static_cast<size_t>(at + 4 - m_pending);
}

int WrlFile::writeHeader() {
  static constexpr TabbedText kVersion1[] = {
      {0, "#VRML V1.0 ascii"},
      {0, "ShapeHints {"},
      {1, "vertexOrdering UNKNOWN_ORDERING"},
      {1, "shapeType UNKNOWN_SHAPE_TYPE"},
      {1, "faceType CONVEX"},
      {1, "creaseAngle 0.5"},
      {0, "}"},
      {0, "DEF SceneInfo Info {"},
      {1, "string \"Created with Meshcast/AutoCAD from Ferolan\""},
      {0, "}"},
  };
  static constexpr TabbedText kVersion2[] = {{0, "#VRML V2.0 utf8\n"}};
  return catchingWriteFailure([&] {
    if (modern()) putAll(kVersion2);
    else putAll(kVersion1);
  });
}

int WrlFile::writeScale(double scale) {
  return catchingWriteFailure([&] {
    if (modern()) {
      put(0, "Group {");
      put(1, "children [");
      put(2, "Transform {");
      putTriple(3, "scale", scale, scale, scale);
      put(3, "children [");
    } else {
      put(0, "Scale {");
      putTriple(1, "scaleFactor", scale, scale, scale);
      put(0, "}");
    }
  });
}

int WrlFile::writeAnchor(const WrlUrl& url) {
  if (!m_file) return 0;
  if (!url.url()) return 1;
  return catchingWriteFailure([&] {
    if (modern()) {
      put(4, "Anchor {");
      if (url.description()) putQuoted(4, "description", url.description());
      putQuoted(4, "url", url.url());
      put(4, "children [");
    } else {
      put(1, "WWWAnchor {");
      putQuoted(2, "name", url.url());
      if (url.description()) putQuoted(2, "description", url.description());
    }
    sendLines();
    if (modern()) m_childrenOpen = 1;
    ++m_level;
  });
}

int WrlFile::beginObject(int32_t number) {
  return catchingWriteFailure([&] {
    constexpr std::string_view kName = "DEF Object", kShape = " Shape {\n", kSeparator = " Separator {\n";
    char* at = lineRoom(modern() ? 5 : 0, kName.size() + wrl_number::kMaxIntChars + kSeparator.size());
    // Copies of constant length, which compile to a few stores.
    std::memcpy(at, kName.data(), kName.size());
    at = wrl_number::integer(at + kName.size(), number);
    if (modern()) at = std::copy_n(kShape.data(), kShape.size(), at);
    else at = std::copy_n(kSeparator.data(), kSeparator.size(), at);
    m_pendingBytes = static_cast<size_t>(at - m_pending);
    sendLines();
    ++m_level;
  });
}

int WrlFile::writeMaterial(const WrlMaterial& material) {
  if (!m_file) return 0;
  bool own = material.valid() == 1;
  if (!own && !modern()) return 1;
  return catchingWriteFailure([&] {
    if (!modern()) {
      put(1, "Material {");
      putColorOf(2, "ambientColor", material.ambientColor());
      putMaterialFields(2, material);
      put(1, "}");
      return;
    }
    // A VRML 2.0 shape without an appearance is drawn unlit in plain white;
    // an empty material gives the default lit look that VRML 1.0 gets.
    putFixed(Fixed::kAppearanceOpen, [&] {
      put(6, "appearance Appearance {");
      put(7, "material Material {");
    });
    if (own) {
      put(7, "ambientIntensity 0.2");
      putMaterialFields(7, material);
    }
    putFixed(Fixed::kAppearanceClose, [&] {
      put(6, "}");
      put(5, "}");
    });
  });
}

void WrlFile::putColorOf(int tabs, const char* name, const WrlColor& color) {
  putTriple(tabs, name, color.red(), color.green(), color.blue());
}

void WrlFile::putValue(int tabs, const char* name, double value) {
  Line(*this, tabs).text(name).text(" ").fixed(value).newline();
}

// The fields both versions share, in their order.
void WrlFile::putMaterialFields(int tabs, const WrlMaterial& material) {
  putColorOf(tabs, "diffuseColor", material.diffuseColor());
  putColorOf(tabs, "specularColor", material.specularColor());
  putColorOf(tabs, "emissiveColor", material.emissiveColor());
  putValue(tabs, "shininess", material.shininess());
  putValue(tabs, "transparency", material.transparency());
}

namespace {

// The depth in tabs of one line of the geometry, in VRML 1.0 and in 2.0.
struct Depth {
  int version1, version2;
};

// Where the lines of the geometry go.
struct GeometryLayout {
  Depth coordinateOpen, pointOpen, pointLine, pointClose, coordinateClose;
  Depth indexOpen, faceLine, indexClose, faceSetClose, objectClose;
};
constexpr GeometryLayout kGeometry = {
    .coordinateOpen = {1, 6},
    .pointOpen = {2, 7},
    .pointLine = {3, 8},
    .pointClose = {2, 7},
    .coordinateClose = {2, 6},
    .indexOpen = {2, 6},
    .faceLine = {3, 7},
    .indexClose = {2, 6},
    .faceSetClose = {1, 5},
    .objectClose = {0, 4},
};

}  // namespace

int WrlFile::writeFaceObject(const WrlFaceObject& object) {
  if (!m_file) return 0;
  if (!object.points() || !object.faces()) return 0;
  return catchingWriteFailure([&] {
    auto tabs = [&](Depth depth) { return modern() ? depth.version2 : depth.version1; };
    putFixed(Fixed::kBeforePoints, [&] {
      if (modern()) {
        static constexpr TabbedText kFaceSetFields[] = {
            {5, "geometry IndexedFaceSet {"}, {6, "ccw TRUE"},    {6, "convex TRUE"},
            {6, "creaseAngle 0.5"},           {6, "solid FALSE"},
        };
        putAll(kFaceSetFields);
      }
      put(tabs(kGeometry.coordinateOpen), modern() ? "coord Coordinate {" : "Coordinate3 {");
      put(tabs(kGeometry.pointOpen), "point[");
    });
    int pointTabs = tabs(kGeometry.pointLine);
    for (const WrlPoint& point : *object.points()) putPointLine(pointTabs, point);
    putFixed(Fixed::kBetweenLists, [&] {
      put(tabs(kGeometry.pointClose), "]");
      put(tabs(kGeometry.coordinateClose), "}");
      if (!modern()) put(1, "IndexedFaceSet {");
      put(tabs(kGeometry.indexOpen), "coordIndex [");
    });
    int faceTabs = tabs(kGeometry.faceLine);
    for (const WrlFace& face : *object.faces())
      if (face.count() != 0) putFaceLine(faceTabs, face);
    putFixed(Fixed::kAfterFaces, [&] {
      put(tabs(kGeometry.indexClose), "]");
      put(tabs(kGeometry.faceSetClose), "}");
      put(tabs(kGeometry.objectClose), "}");
    });
    sendLines();
    --m_level;
  });
}

int WrlFile::closeObjects() {
  return catchingWriteFailure([&] {
    while (m_level != 0) {
      if (m_childrenOpen) {
        put(m_level, "]");
        sendLines();
        m_childrenOpen = 0;
      }
      put(m_level - 1, "}");
      sendLines();
      --m_level;
    }
  });
}

int WrlFile::close() {
  return catchingWriteFailure([&] {
    if (modern()) {
      static constexpr TabbedText kOuterClosings[] = {{3, "]"}, {2, "}"}, {1, "]"}, {0, "}"}};
      putAll(kOuterClosings);
    }
    sendLines();
    m_file->Close();
  });
}
