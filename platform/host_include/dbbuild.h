// Making drawings in code, for the host and the tests: a new empty current
// drawing, and layers, blocks and entities added to it.
#pragma once
#include <string>
#include <vector>

#include "dbmain.h"

namespace db::build {

// One group code and its value as a drawing file would hold it.
struct Tag {
  int code;
  std::string value;
};

// Replaces the current drawing with an empty one: header (handles on), a
// layer table holding layer "0" (colour 7), an APPID table holding "ACAD",
// and empty BLOCKS and ENTITIES sections.
AcDbDatabase* newDrawing();

// Each of these adds to the current drawing. Handles are given out by the
// drawing; `tags` are everything after the type and handle (layer 8, colour
// 62, points 10/20/30, ...). A null id or false when there is no current
// drawing, the name is taken, or the block does not exist.
AcDbObjectId addLayer(const char* name, int colorIndex, bool off = false, bool frozen = false);
AcDbObjectId addEntity(const char* type, const std::vector<Tag>& tags);
bool addBlock(const char* name, double baseX = 0, double baseY = 0, double baseZ = 0);
AcDbObjectId addBlockEntity(const char* blockName, const char* type, const std::vector<Tag>& tags);

// Sets the current UCS of the current drawing (what the host's UCS command
// does); false for degenerate axes or no drawing.
bool setUcs(const double origin[3], const double xAxis[3], const double yAxis[3]);

}  // namespace db::build
