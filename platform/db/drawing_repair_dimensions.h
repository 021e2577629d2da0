// The picture of a dimension whose block is missing, drawn from the
// dimension's own definition points the way its dimension style says: the
// block a host draws a dimension with, made again.
#pragma once
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/record.h"

namespace db {

// The dimension variables the picture uses, in drawing units.
struct DimensionStyle {
  double arrowSize = 0.18;        // DIMASZ
  double extensionGap = 0.0625;   // DIMEXO: from the definition point to the extension line
  double extensionBeyond = 0.18;  // DIMEXE: extension line past the dimension line
  double textHeight = 0.18;       // DIMTXT
  double scale = 1.0;             // DIMSCALE
  int decimals = 4;               // DIMDEC
};

// Takes the variables a DIMSTYLE entry sets (by their group codes) over `style`.
void applyDimensionStyle(std::span<const TagView> entry, DimensionStyle& style);
// The same for the header's $DIM... variables.
void applyHeaderDimensionVariables(std::span<const TagView> header, DimensionStyle& style);

// One entity of a picture: its type and the tags after its common data.
struct PictureEntity {
  std::string type;
  std::vector<Tag> tags;
};

// The picture of the DIMENSION with these (ordinary) tags: dimension and
// extension lines, arrowheads and the measured text. Empty for kinds not
// drawn here (angular, ordinate) and for dimensions off the XY plane. Tags
// carry their class markers when `subclasses` (R13 on).
std::vector<PictureEntity> dimensionPicture(std::span<const TagView> dimension, const DimensionStyle& style,
                                            bool subclasses);

}  // namespace db
