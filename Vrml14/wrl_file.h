// The world-file writer: one operation per piece of a VRML 1.0 or 2.0 file.
// Every operation returns 1 on success and 0 when there is no file or a
// write fails; lines written before a failure stay in the file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "wrl_recent_numbers.h"

class CFile;
class WrlColor;
class WrlFace;
class WrlFaceObject;
class WrlMaterial;
class WrlPoint;
class WrlUrl;

// The VRML version a world file is written in, by its number.
enum class WrlVersion : int32_t { k1 = 1, k2 = 2 };

class WrlFile {
 public:
  WrlFile();
  ~WrlFile();
  WrlFile(const WrlFile&) = delete;
  WrlFile& operator=(const WrlFile&) = delete;

  // Creates or truncates the file for exclusive writing. On failure the file
  // object is gone for good and every later operation returns 0.
  int open(const char* path);
  // Stored unchecked; any version but 2.0 is written as 1.0.
  int setVersion(WrlVersion version);

  int writeHeader();
  int writeScale(double scale);
  // Opens an anchor when the record has a URL; writes nothing otherwise.
  int writeAnchor(const WrlUrl& url);
  int beginObject(int32_t number);
  // A material that is not valid writes nothing in VRML 1.0 and an empty
  // material in VRML 2.0, so that the shape is still lit.
  int writeMaterial(const WrlMaterial& material);
  // Coordinates and faces, then the end of the object's node; 0 when either
  // list is absent.
  int writeFaceObject(const WrlFaceObject& object);
  // Closes every object-level node still open.
  int closeObjects();
  // Closes the outer nodes and the file.
  int close();
  // Writes `count` tab characters.
  int indent(int count);

  int level() const { return m_level; }
  WrlVersion version() const { return m_version; }
  int childrenOpen() const { return m_childrenOpen; }
  // 1 once any write or close of the open file has failed.
  int writeFailed() const { return m_writeFailed; }

 private:
  class Line;
  struct TabbedText {
    int tabs;
    std::string_view text;
  };

  // Blocks of lines every object repeats unchanged.
  enum class Fixed { kBeforePoints, kBetweenLists, kAfterFaces, kAppearanceOpen, kAppearanceClose, kCount };
  struct FixedText {
    WrlVersion version = WrlVersion::k1;
    size_t length = 0;  // 0: not made yet
    char text[240];
  };

  bool modern() const { return m_version == WrlVersion::k2; }
  template <typename Lines>
  void putFixed(Fixed which, Lines lines);
  template <typename Body>
  int catchingWriteFailure(Body body);
  void sendLines();
  // Where a line of `tabs` tabs (16 at most) and at most `most` more
  // characters goes on, its tabs written.
  char* lineRoom(int tabs, size_t most);
  void putPointLine(int tabs, const WrlPoint& point);
  void putFaceLine(int tabs, const WrlFace& face);
  void put(int tabs, std::string_view text);
  template <size_t N>
  void putAll(const TabbedText (&lines)[N]);
  // A field of three numbers: a colour or a scale.
  void putTriple(int tabs, const char* name, double first, double second, double third);
  void putQuoted(int tabs, const char* name, const char* text);
  void putColorOf(int tabs, const char* name, const WrlColor& color);
  void putValue(int tabs, const char* name, double value);
  void putMaterialFields(int tabs, const WrlMaterial& material);

  CFile* m_file;
  // The lines of the operation under way, not yet handed to the file.
  char m_pending[4096];
  size_t m_pendingBytes = 0;
  WrlRecentNumbers m_recentNumbers;  // the point lists'
  FixedText m_fixed[static_cast<size_t>(Fixed::kCount)];
  int32_t m_level = 0;
  WrlVersion m_version = WrlVersion::k1;
  int32_t m_childrenOpen = 0;
  int32_t m_writeFailed = 0;
};
