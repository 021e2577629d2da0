// Records stay where they were stored while thousands more come, and a
// POLYLINE's followers are walked across the blocks the store keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/database.h"
#include "db/record_build.h"

namespace {

TEST(RecordStore, RecordsKeepTheirPlaceAndFollowersAreWalkedAcrossBlocks) {
  db::Database database;
  std::vector<db::Record> records;
  records.push_back(db::buildRecord({{0, "SECTION"}, {2, "ENTITIES"}}));
  // The polyline's vertices pass the end of the store's first block.
  const size_t vertices = db::RecordStore::kBlock + 10;
  records.push_back(db::buildRecord({{0, "POLYLINE"}, {5, "20"}, {66, "1"}, {70, "16"}}));
  for (size_t i = 0; i < vertices; ++i) records.push_back(db::buildRecord({{0, "VERTEX"}, {5, "1000"}}));
  records.push_back(db::buildRecord({{0, "SEQEND"}}));
  records.push_back(db::buildRecord({{0, "ENDSEC"}}));
  database.adopt(std::move(records));

  const db::Record* polyline = database.bySerial(2);
  ASSERT_NE(polyline, nullptr);
  EXPECT_EQ(polyline->type, "POLYLINE");
  db::Database::Followers followers = database.followers(*polyline);
  ASSERT_EQ(followers.size(), vertices + 1);
  size_t walked = 0;
  for (const db::Record& follower : followers) {
    EXPECT_EQ(&follower, database.bySerial(static_cast<long>(polyline->serial + 1 + walked)));
    EXPECT_EQ(follower.type, walked < vertices ? "VERTEX" : "SEQEND") << walked;
    ++walked;
  }
  EXPECT_EQ(walked, vertices + 1);
  EXPECT_EQ(&followers[vertices], database.bySerial(static_cast<long>(vertices + 3)));
  const std::vector<db::Record*>& order = database.records();
  ASSERT_EQ(order.size(), vertices + 4);
  for (size_t i = 0; i < order.size(); ++i) ASSERT_EQ(order[i]->serial, i + 1);

  // A block's worth more, inserted before the section's end: nothing moves.
  db::Record* end = order.back();
  for (size_t i = 0; i < db::RecordStore::kBlock; ++i) database.insertRecord(end, {{0, "LINE"}});
  EXPECT_EQ(database.bySerial(2), polyline);
  EXPECT_EQ(database.records().back(), end);
  EXPECT_EQ(database.records().size(), vertices + 4 + db::RecordStore::kBlock);
}

}  // namespace
