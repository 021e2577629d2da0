#include "wrl_file.h"

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

// One line on its way to the file, gathered in a buffer so that a line costs
// one file write; a text longer than the buffer goes out in pieces. The
// lines of a long list share one buffer (newline(), then send()).
class WrlFile::Line {
 public:
  // A line that starts with `tabs` tab characters.
  Line(CFile& file, int tabs) : m_file(file) { indent(tabs); }

  Line& indent(int tabs) {
    for (; tabs > 0; tabs -= kTabChunk) append(kTabs, static_cast<size_t>(tabs < kTabChunk ? tabs : kTabChunk));
    return *this;
  }

  Line& text(const char* text) { return append(text, std::strlen(text)); }

  Line& append(const char* text, size_t length) {
    while (length > 0) {
      if (m_used == sizeof m_buffer) flush();
      size_t piece = sizeof m_buffer - m_used < length ? sizeof m_buffer - m_used : length;
      std::memcpy(m_buffer + m_used, text, piece);
      m_used += piece;
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
    m_used = static_cast<size_t>(wrl_number::fixed6(m_buffer + m_used, value) - m_buffer);
    return *this;
  }

  Line& integer(int32_t value) {
    room(wrl_number::kMaxIntChars);
    m_used = static_cast<size_t>(wrl_number::integer(m_buffer + m_used, value) - m_buffer);
    return *this;
  }

  // Ends the line; it goes to the file with the next ones.
  Line& newline() {
    put('\n');
    return *this;
  }
  // Hands the lines gathered so far to the file.
  void send() { flush(); }

  void end() { newline().send(); }

 private:
  void put(char c) {
    room(1);
    m_buffer[m_used++] = c;
  }
  void room(size_t count) {
    if (m_used + count > sizeof m_buffer) flush();
  }
  void flush() {
    m_file.Write(m_buffer, static_cast<UINT>(m_used));
    m_used = 0;
  }

  CFile& m_file;
  char m_buffer[1024];
  size_t m_used = 0;
};

WrlFile::WrlFile() : m_file(new CFile) {}

WrlFile::~WrlFile() { delete m_file; }

template <typename Body>
int WrlFile::catchingWriteFailure(Body body) {
  if (!m_file) return 0;
  try {
    body();
  } catch (CFileException* error) {
    error->Delete();
    m_writeFailed = 1;
    return 0;
  }
  return 1;
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

void WrlFile::put(int tabs, const char* text) { Line(*m_file, tabs).text(text).end(); }

template <size_t N>
void WrlFile::putAll(const TabbedText (&lines)[N]) {
  for (const TabbedText& line : lines) put(line.tabs, line.text);
}

void WrlFile::putTriple(int tabs, const char* name, double first, double second, double third) {
  Line(*m_file, tabs).text(name).text(" ").fixed(first).text(" ").fixed(second).text(" ").fixed(third).end();
}

void WrlFile::putQuoted(int tabs, const char* name, const char* text) {
  Line(*m_file, tabs).text(name).text(" ").quoted(text).end();
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
      m_childrenOpen = 1;
    } else {
      put(1, "WWWAnchor {");
      putQuoted(2, "name", url.url());
      if (url.description()) putQuoted(2, "description", url.description());
    }
    ++m_level;
  });
}

int WrlFile::beginObject(int32_t number) {
  return catchingWriteFailure([&] {
    Line(*m_file, modern() ? 5 : 0)
        .text("DEF Object")
        .integer(number)
        .text(modern() ? " Shape {" : " Separator {")
        .end();
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
    put(6, "appearance Appearance {");
    put(7, "material Material {");
    if (own) {
      put(7, "ambientIntensity 0.2");
      putMaterialFields(7, material);
    }
    put(6, "}");
    put(5, "}");
  });
}

void WrlFile::putColorOf(int tabs, const char* name, const WrlColor& color) {
  putTriple(tabs, name, color.red(), color.green(), color.blue());
}

void WrlFile::putValue(int tabs, const char* name, double value) {
  Line(*m_file, tabs).text(name).text(" ").fixed(value).end();
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
    if (modern()) {
      static constexpr TabbedText kFaceSetFields[] = {
          {5, "geometry IndexedFaceSet {"}, {6, "ccw TRUE"},    {6, "convex TRUE"},
          {6, "creaseAngle 0.5"},           {6, "solid FALSE"},
      };
      putAll(kFaceSetFields);
    }
    put(tabs(kGeometry.coordinateOpen), modern() ? "coord Coordinate {" : "Coordinate3 {");
    put(tabs(kGeometry.pointOpen), "point[");
    int pointTabs = tabs(kGeometry.pointLine);
    Line list(*m_file, 0);
    for (const WrlPoint& point : *object.points()) {
      list.indent(pointTabs).fixed(point.x()).text(" ").fixed(point.y()).text(" ").fixed(point.z()).text(",").newline();
    }
    list.send();
    put(tabs(kGeometry.pointClose), "]");
    put(tabs(kGeometry.coordinateClose), "}");
    if (!modern()) put(1, "IndexedFaceSet {");
    put(tabs(kGeometry.indexOpen), "coordIndex [");
    int faceTabs = tabs(kGeometry.faceLine);
    for (const WrlFace& face : *object.faces()) {
      if (face.count() == 0) continue;
      list.indent(faceTabs);
      for (int corner = 0; corner < face.count(); ++corner) list.integer(face.corner(corner)).text(",");
      list.text("-1,").newline();
    }
    list.send();
    put(tabs(kGeometry.indexClose), "]");
    put(tabs(kGeometry.faceSetClose), "}");
    put(tabs(kGeometry.objectClose), "}");
    --m_level;
  });
}

int WrlFile::closeObjects() {
  return catchingWriteFailure([&] {
    while (m_level != 0) {
      if (m_childrenOpen) {
        put(m_level, "]");
        m_childrenOpen = 0;
      }
      put(m_level - 1, "}");
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
    m_file->Close();
  });
}
