// Loading and unloading modules, for the host's ARX command, the AutoLISP
// functions arxload/arxunload and the command line's --load.
#pragma once
#include <string>
#include <vector>

#include "support/status.h"

namespace acad::arx {

// Loads the module at `path`: maps it, checks its exports and interface
// version, runs _SetacrxPtp, sends kInitAppMsg and, while a drawing is open,
// kLoadDwgMsg. On failure nothing stays loaded and the message says why, e.g.
// "not an ARX application: missing acrxEntryPoint".
support::Status load(const std::string& path);

// Unloads the module named by its file name ("vrml.arx"), its base name
// ("vrml", any case) or its path: kUnloadDwgMsg while a drawing is open,
// kUnloadAppMsg, then unmaps it. Refused for an unknown name, a module that
// never unlocked itself, or one whose code is running.
support::Status unload(const std::string& name);

// File names of the loaded modules, in load order.
std::vector<std::string> loaded();

// Full path of a loaded module by any of the names unload() accepts; empty
// when none matches.
std::string pathOf(const std::string& name);

// The host's record of a loaded module (an acad::apps::App), or null.
void* application(const std::string& name);

// True when the loaded module of that name has unlocked itself.
bool isUnlocked(const std::string& name);

// The host tells every loaded module that the drawing was opened or closed.
void drawingOpened();
void drawingClosed();
bool drawingOpen();

// Unloads everything, last loaded first (the host's shutdown).
void unloadAll();

}  // namespace acad::arx
