// One facetting: stored entities cut into polygons for one callout, and the
// face file that lists what was delivered.
#pragma once
#include <span>

#include "acadstrc.h"
#include "acre.h"
#include "db/record.h"

namespace render {

// Facets the entities in order into `callout` (none: the polygons are only
// counted). Stops at the first entity that gives no polygons, with its
// status. On success a name goes to `faceFileName` when asked for (host
// allocator): empty when a callout took the polygons, else the face file's
// (null when the file could not be written).
Acad::ErrorStatus facetRecords(std::span<const db::Record* const> records, AcreCallout* callout, char** faceFileName);

// A command's facetting keeps its buffers from call to call and reads the
// next large entity ahead. A command starts with commandStarted(); it ends
// with settleReadingAhead(), which waits for what is read ahead and frees
// every buffer, so nothing kept for one command outlives it. A call outside
// any command frees its buffers when it returns.
void commandStarted();
void settleReadingAhead();

}  // namespace render
