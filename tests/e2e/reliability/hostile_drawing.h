// Drawings built to hurt: counts that announce far more than the file holds,
// corner numbers outside their mesh, blocks that insert themselves or nest
// ten thousand deep, numbers no world file can hold, 100 kB texts. Written as
// DXF text at test time, each the smallest file that makes its point.
#pragma once
#include <string>

namespace hostile {

// One group code and its value, a line each.
std::string tag(int code, const std::string& value);
std::string tag(int code, double value);

// A drawing of a BLOCKS and an ENTITIES section.
std::string drawing(const std::string& blocks, const std::string& entities);
std::string block(const std::string& name, const std::string& body);

// A unit square 3D face in the XY plane, moved by `x`.
std::string face(double x = 0.0);
// An insert of `name`, `columns` by `rows` one unit apart, scaled by `scale`.
std::string insert(const std::string& name, long columns = 1, long rows = 1, double scale = 1.0);
// A POLYLINE header with flags 70 and the counts 71..74 as given.
std::string polyline(int flags, const std::string& counts);
std::string vertex(double x, double y, int flags, const std::string& corners = "");
std::string seqend();

}  // namespace hostile
