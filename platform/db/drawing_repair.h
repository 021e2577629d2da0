// Faults that other programs leave in the drawings they write, repaired once
// after loading by adding what is missing rather than rewriting what the
// drawing has: names in use get their table entries, objects without an
// owner get the record that owns them, dictionary entries get the object they
// name, dimensions get the block with their picture. Nothing is taken away.
// A drawing saved after the repair loads with nothing left to repair.
#pragma once
#include <string>

#include "db/database.h"

namespace acdb_detail {

// How many of each repair repairDrawing() made.
struct DrawingRepairs {
  int layers = 0;        // LAYER entries for layers that entities are on
  int linetypes = 0;     // LTYPE entries for linetypes in use
  int textStyles = 0;    // STYLE entries for text styles in use
  int tableCounts = 0;   // TABLE counts raised to the entries the table now holds
  int dimensionPictures = 0;  // blocks drawn for DIMENSIONs that lack theirs
  int owners = 0;        // objects given the record that owns them (R13 on)
  int namedObjects = 0;  // empty XRECORDs for dictionary entries that name no object

  // One line for the user; "" when nothing was repaired.
  std::string summary() const;
};

// Repairs a drawing that has just been read. Tables, sections and records
// the drawing lacks altogether are not made up: a repair needs a place to go.
DrawingRepairs repairDrawing(Database& database);

}  // namespace acdb_detail
