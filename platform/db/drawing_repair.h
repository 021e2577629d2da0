// Faults that other programs leave in the drawings they write, repaired once
// after loading by adding what is missing rather than rewriting what the
// drawing has: names in use get their table entries, objects without an
// owner get the record that owns them, dictionary entries get the object they
// name, dimensions get the block with their picture. Nothing is taken away.
// A drawing saved after the repair loads with nothing left to repair.
#pragma once
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "db/database.h"

namespace db {

// How many of each repair DrawingRepair::run() made.
struct DrawingRepairs {
  int layers = 0;             // LAYER entries for layers that entities are on
  int linetypes = 0;          // LTYPE entries for linetypes in use
  int textStyles = 0;         // STYLE entries for text styles in use
  int tableCounts = 0;        // TABLE counts raised to the entries the table now holds
  int dimensionPictures = 0;  // blocks drawn for DIMENSIONs that lack theirs
  int owners = 0;             // objects given the record that owns them (R13 on)
  int namedObjects = 0;       // empty XRECORDs for dictionary entries that name no object

  // One line for the user; "" when nothing was repaired.
  std::string summary() const;
};

class Survey;

// Watches a drawing load (Database::watchLoading) and notes what it lacks;
// run() then repairs it. Tables, sections and records the drawing lacks
// altogether are not made up: a repair needs a place to go.
class DrawingRepair : public LoadWatcher {
 public:
  explicit DrawingRepair(Database& database);
  ~DrawingRepair() override;

  bool wantsAllTags(std::string_view section) const override;
  std::span<const int16_t> wantedCodes() const override;
  void take(Record& record, std::span<const TagView> tags) override;

  DrawingRepairs run();

 private:
  Database& m_database;
  std::unique_ptr<Survey> m_survey;
};

}  // namespace db
