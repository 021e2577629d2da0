// Making a stored record from the tags of one object as a drawing file has them.
#pragma once
#include <memory>
#include <vector>

#include "db/record.h"

namespace acdb_detail {

// Takes the tags from one group 0 up to the next: sets the type and handle and
// moves the trailing extended data into its per-application blocks. Tags of
// 1000 and above that are followed by ordinary tags stay ordinary tags, so
// the record is written back as it came.
std::unique_ptr<Record> buildRecord(std::vector<Tag> tags);

// The tags as a drawing file holds them: the ordinary tags, then each
// application's 1001 and its items.
template <typename Visit>
void forEachTag(const Record& record, Visit&& visit) {
  for (const Tag& tag : record.tags) visit(tag.code, tag.value);
  for (const XDataBlock& block : record.xdata) {
    visit(static_cast<int16_t>(1001), block.app);
    for (const Tag& tag : block.tags) visit(tag.code, tag.value);
  }
}

}  // namespace acdb_detail
