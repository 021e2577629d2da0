// The length unit a drawing declares in its header ($INSUNITS), as the
// answer the batch export gives the options dialog.
#pragma once
#include <string>

// $INSUNITS of the drawing at `path` (text or binary); 0 when it has none or
// the header cannot be read.
int declaredUnits(const std::string& path);

// The units answer for a $INSUNITS code: "mm", "cm" or "m" (the dialog's own
// buttons), or the size of the unit in metres; "" for a unitless drawing.
std::string unitsAnswer(int insunits);
