// The host commands OPEN, SAVE and SAVEAS, and opening the drawing named on
// the command line.
#pragma once
#include <string>

#include "platform.h"

void registerDrawingCommands();

// Opens `path` as the current drawing and tells the loaded modules; on failure
// writes the reason to the transcript and keeps the current drawing.
bool openDrawing(const std::string& path);

// Before the current drawing is dropped (QUIT, OPEN, the end of input):
// true when it may go: nothing unsaved, saved now, or the person said No or
// can no longer answer (the transcript then says the changes were
// discarded). False on Cancel.
bool mayDropDrawing(acad::host_commands::Answers& answers);

// A batch run never asks; it only says that changes were discarded.
void neverAskToSave(bool batch);
