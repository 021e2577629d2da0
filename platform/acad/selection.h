// Selection sets of the host: named sets of entity names of the current drawing.
#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

#include "adsdef.h"
#include "db/record.h"

namespace acad::selection {

// Sets alive now (made by ads_ssget or ads_ssadd and not yet freed).
size_t liveSets();

// Makes a new set holding these entities, in order, and names it.
void makeSet(const std::vector<db::Record*>& entities, ads_name ss);

// The entity a selection answer names: a handle in hex, or "L"/"LAST" for
// the last entity. Null when there is none (or it is erased).
db::Record* entityOfAnswer(std::string_view answer);

// Entities of the current drawing that every item of `filter` matches
// (group code and value: type 0, layer 8, colour 62, ...), in drawing order.
std::vector<db::Record*> allEntities(const resbuf* filter);

}  // namespace acad::selection
