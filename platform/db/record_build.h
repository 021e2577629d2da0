// Making a stored record from the tags of one object as a drawing file has them.
#pragma once
#include <memory>
#include <span>
#include <vector>

#include "db/record.h"

namespace db {

// Takes the tags from one group 0 up to the next: sets the type and handle and
// moves the trailing extended data into its per-application blocks.
Record buildRecord(std::vector<Tag> tags);

// Copies of viewed tags.
std::vector<Tag> ownedTags(std::span<const TagView> tags);

// The type and handle of a record from its tags, and whether they hold a
// colour and extended data.
void setIdentity(Record& record, std::span<const TagView> tags);

}  // namespace db
