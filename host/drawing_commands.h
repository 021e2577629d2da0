// The host commands OPEN, SAVE and SAVEAS, and opening the drawing named on
// the command line.
#pragma once
#include <string>

void registerDrawingCommands();

// Opens `path` as the current drawing and tells the loaded modules; on failure
// writes the reason to the transcript and keeps the current drawing.
bool openDrawing(const std::string& path);
