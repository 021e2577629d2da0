// Surfaces and curves from their records. What the reader does not know
// comes back as Unsupported with a reason, never as a failure of the body.
#pragma once
#include <string_view>
#include <vector>

#include "acis/cursor.h"

namespace acis::detail {

// The part of a geometry type name before its class: "cone" for
// "cone-surface"; empty unless the name ends with "-" + `family`.
std::string_view geometryKind(std::string_view type, std::string_view family);

class GeometryReader {
 public:
  explicit GeometryReader(const RawModel& model) : m_model(model) {}

  acis::Surface surface(const RawRecord& record);
  acis::Curve curve(const RawRecord& record);

  // Enters the subtype of spline data at the cursor; `in` then stands at
  // the B-spline's form word.
  bool enterSplineData(Cursor& in);

 private:
  // Enters the subtype that starts at the cursor, following a "ref N" to
  // the subtype it names; `in` then stands after its type name.
  bool enterSubtype(Cursor& in, int depth = 0);
  const std::vector<std::pair<uint32_t, uint32_t>>& subtypes();

  const RawModel& m_model;
  // Every subtype that is not a reference, in file order: its record and
  // the position after its '{'. Found on the first reference.
  std::vector<std::pair<uint32_t, uint32_t>> m_subtypes;
  bool m_subtypesFound = false;
};

}  // namespace acis::detail
