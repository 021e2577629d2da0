// Type, handle and extended data of a record read from a drawing file.
#include "db/record_build.h"

#include "db/number_text.h"

namespace acdb_detail {

std::unique_ptr<Record> buildRecord(std::vector<Tag> tags) {
  auto record = std::make_unique<Record>();
  if (!tags.empty() && tags[0].code == 0) record->type = tags[0].value;
  int handleCode = record->type == "DIMSTYLE" ? 105 : 5;
  size_t xdataStart = tags.size();
  for (size_t i = 0; i < tags.size(); ++i) {
    int code = tags[i].code;
    if (code == handleCode && record->handle == 0) record->handle = parseHandle(tags[i].value);
    if (code == 1001 && xdataStart == tags.size()) xdataStart = i;
    if (code < 1000) xdataStart = tags.size();
  }
  for (size_t i = xdataStart; i < tags.size(); ++i) {
    if (tags[i].code == 1001) record->xdata.push_back({std::move(tags[i].value), {}});
    else record->xdata.back().tags.push_back(std::move(tags[i]));
  }
  tags.resize(xdataStart);
  record->tags = std::move(tags);
  return record;
}

}  // namespace acdb_detail
