// Records stay where they were stored while thousands more come, a
// POLYLINE's followers are walked across the blocks the store keeps, and the
// file order, listed only when first asked for, has inserted records in place.
#include <gtest/gtest.h>

#include <vector>

#include "db/database.h"
#include "db/record_build.h"

namespace {

TEST(RecordStore, RecordsStayInPlaceAndAreWalkedAndListedInFileOrder) {
  db::Database database;
  std::vector<db::Record> records;
  records.push_back(db::buildRecord({{0, "SECTION"}, {2, "ENTITIES"}}));
  // The polyline's vertices pass the end of the store's first block.
  const size_t vertices = db::RecordStore::kBlock + 10;
  records.push_back(db::buildRecord({{0, "POLYLINE"}, {66, "1"}, {70, "16"}}));
  for (size_t i = 0; i < vertices; ++i) records.push_back(db::buildRecord({{0, "VERTEX"}}));
  records.push_back(db::buildRecord({{0, "SEQEND"}}));
  records.push_back(db::buildRecord({{0, "ENDSEC"}}));
  database.adopt(std::move(records));

  const db::Record* polyline = database.bySerial(2);
  size_t walked = 0;
  for (const db::Record& follower : database.followers(*polyline)) {
    EXPECT_EQ(&follower, database.bySerial(static_cast<long>(polyline->serial + 1 + walked)));
    EXPECT_EQ(follower.type, walked < vertices ? "VERTEX" : "SEQEND") << walked;
    ++walked;
  }
  EXPECT_EQ(walked, vertices + 1);

  // A block's worth more, before the section's end: nothing moves.
  db::Record* end = database.bySerial(static_cast<long>(vertices + 4));
  db::Record* first = database.insertRecord(end, {{0, "LINE"}});
  db::Record* last = nullptr;
  for (size_t i = 1; i < db::RecordStore::kBlock; ++i) last = database.insertRecord(end, {{0, "LINE"}});
  EXPECT_EQ(database.bySerial(2), polyline);
  const std::vector<db::Record*>& order = database.records();
  ASSERT_EQ(order.size(), vertices + 4 + db::RecordStore::kBlock);
  EXPECT_EQ(order[vertices + 2], database.bySerial(static_cast<long>(vertices + 3)));
  EXPECT_EQ(order[vertices + 3], first);
  EXPECT_EQ(order[order.size() - 2], last);
  EXPECT_EQ(order.back(), end);
}

}  // namespace
