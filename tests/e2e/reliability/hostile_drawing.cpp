#include "hostile_drawing.h"

#include <cstdio>

namespace hostile {

std::string tag(int code, const std::string& value) { return std::to_string(code) + "\n" + value + "\n"; }

std::string tag(int code, double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return tag(code, std::string(text));
}

std::string drawing(const std::string& blocks, const std::string& entities) {
  return tag(0, "SECTION") + tag(2, "BLOCKS") + blocks + tag(0, "ENDSEC") + tag(0, "SECTION") + tag(2, "ENTITIES") +
         entities + tag(0, "ENDSEC") + tag(0, "EOF");
}

std::string block(const std::string& name, const std::string& body) {
  return tag(0, "BLOCK") + tag(8, "0") + tag(2, name) + tag(70, "0") + tag(10, 0.0) + tag(20, 0.0) + tag(30, 0.0) +
         tag(3, name) + body + tag(0, "ENDBLK") + tag(8, "0");
}

std::string face(double x) {
  return tag(0, "3DFACE") + tag(8, "0") + tag(10, x) + tag(20, 0.0) + tag(30, 0.0) + tag(11, x + 1) + tag(21, 0.0) +
         tag(31, 0.0) + tag(12, x + 1) + tag(22, 1.0) + tag(32, 0.0) + tag(13, x) + tag(23, 1.0) + tag(33, 0.0);
}

std::string insert(const std::string& name, long columns, long rows, double scale) {
  return tag(0, "INSERT") + tag(8, "0") + tag(2, name) + tag(10, 0.0) + tag(20, 0.0) + tag(30, 0.0) + tag(41, scale) +
         tag(42, scale) + tag(43, scale) + tag(70, std::to_string(columns)) + tag(71, std::to_string(rows)) +
         tag(44, 1.0) + tag(45, 1.0);
}

std::string polyline(int flags, const std::string& counts) {
  return tag(0, "POLYLINE") + tag(8, "0") + tag(66, "1") + tag(10, 0.0) + tag(20, 0.0) + tag(30, 0.0) +
         tag(70, std::to_string(flags)) + counts;
}

std::string vertex(double x, double y, int flags, const std::string& corners) {
  return tag(0, "VERTEX") + tag(8, "0") + tag(10, x) + tag(20, y) + tag(30, 0.0) + tag(70, std::to_string(flags)) +
         corners;
}

std::string seqend() { return tag(0, "SEQEND") + tag(8, "0"); }

}  // namespace hostile
