// Type, handle and extended data of a record read from a drawing file.
#include "db/record_build.h"

#include "db/number_text.h"
#include "db/record_tags.h"

namespace db {

void setIdentity(Record& record, std::span<const TagView> tags) {
  if (!tags.empty() && tags[0].code == 0) record.type = tags[0].value;
  // The header section holds $HANDSEED as a code 5: the next handle to
  // give, not one of its own.
  if (record.type == "SECTION") return;
  int handleCode = record.type == "DIMSTYLE" ? 105 : 5;
  for (const TagView& tag : tags.first(extendedDataStart(tags)))
    if (tag.code == handleCode) {
      record.handle = parseHandle(tag.value);
      break;
    }
  // A 1001 anywhere may start extended data; a 62 is always the record's own.
  for (const TagView& tag : tags) {
    if (tag.code == 62) record.colorAsRead = true;
    if (tag.code == 1001) record.extendedDataAsRead = true;
  }
}

Record buildRecord(std::vector<Tag> tags) {
  Record record;
  std::vector<TagView> views;
  views.reserve(tags.size());
  for (const Tag& tag : tags) views.push_back({tag.code, tag.value});
  setIdentity(record, views);
  record.stored = std::make_unique<StoredTags>();
  size_t xdataStart = extendedDataStart(tags);
  for (size_t i = xdataStart; i < tags.size(); ++i) {
    if (tags[i].code == 1001) record.stored->xdata.push_back({std::move(tags[i].value), {}});
    else record.stored->xdata.back().tags.push_back(std::move(tags[i]));
  }
  tags.resize(xdataStart);
  record.stored->tags = std::move(tags);
  return record;
}

std::vector<Tag> ownedTags(std::span<const TagView> tags) {
  std::vector<Tag> owned;
  owned.reserve(tags.size());
  for (const TagView& tag : tags) owned.push_back({tag.code, std::string(tag.value)});
  return owned;
}

}  // namespace db
