// The page vrmlout --html fills in, with the web viewer in it, as the build
// made it from web/page.html; empty when the viewer was not installed then.
#pragma once
#include <string_view>

std::string_view pageSkeleton();
