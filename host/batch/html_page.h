// The page that shows a world in any browser: the world's text and the web
// viewer in one file, with the page's own camera on the whole model, the
// drawing's name and the export's counts.
#pragma once
#include <string>
#include <string_view>

#include "world_bounds.h"

struct PageFacts {
  std::string drawing;  // the drawing's file name
  std::string counts;   // what the export said, e.g. "18 object(s) converted, 0 object(s) ignored"
};

// The page made from `skeleton` (marks @DRAWING@, @WORLD@, @FRAMING@,
// @DRAWING@, @COUNTS@, filled in that order); "" when a mark is missing.
std::string htmlPage(std::string_view skeleton, const std::string& worldText, const WorldBounds& bounds,
                     const PageFacts& facts);

// Writes the page of the world file `world` to `page` from `skeleton`;
// false with the reason (an empty skeleton: vrmlout was built without the viewer).
bool writeHtmlPage(std::string_view skeleton, const std::string& world, const std::string& page, const PageFacts& facts,
                   std::string& error);
