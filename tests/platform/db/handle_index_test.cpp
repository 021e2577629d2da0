// Records are found by handle whatever order their handles came in: some
// writers give a few early records the highest handles, so that nearly every
// later record comes out of ascending order; of two records with one handle
// the one stored first is found, also for records stored after a lookup.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "db/database.h"
#include "db/record_build.h"

namespace {

using db::Database;
using db::Record;

std::string hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", value);
  return text;
}

Record record(const char* type, unsigned handle) { return db::buildRecord({{0, type}, {5, hex(handle)}}); }

class HandleIndexTest : public ::testing::Test {
 public:
  // An APPID with the highest handle first, then LINEs 20..21F ascending, a
  // second LINE 30 and the table end that later records go before.
  void SetUp() override {
    std::vector<Record> records;
    records.push_back(record("APPID", 0x7A157));
    for (unsigned handle = 0x20; handle < 0x220; ++handle) records.push_back(record("LINE", handle));
    records.push_back(record("LINE", 0x30));
    records.push_back(db::buildRecord({{0, "ENDTAB"}}));
    database.adopt(std::move(records));
    end = database.records().back();
  }
  // The record stored in the `n`th place (from 1).
  Record* stored(long n) { return database.bySerial(n); }

  Database database;
  Record* end = nullptr;
};

TEST_F(HandleIndexTest, EveryHandleFindsItsFirstRecord) {
  EXPECT_EQ(database.byHandle(0x7A157), stored(1));
  for (unsigned handle = 0x20; handle < 0x220; ++handle)
    ASSERT_EQ(database.byHandle(handle), stored(handle - 0x20 + 2)) << hex(handle);
  EXPECT_EQ(stored(0x200 + 2)->handle, 0x30u);
  EXPECT_EQ(database.byHandle(0x30), stored(0x30 - 0x20 + 2));
  EXPECT_EQ(database.byHandle(0x1F), nullptr);
  EXPECT_EQ(database.byHandle(0x220), nullptr);
  EXPECT_EQ(database.byHandle(0x7A158), nullptr);
}

TEST_F(HandleIndexTest, RecordsStoredAfterALookupAreFoundToo) {
  ASSERT_EQ(database.byHandle(0x21), stored(3));
  // A new handle above all, one below all, one between, and a duplicate.
  Record* added = database.insertRecord(end, {{0, "LAYER"}, {5, "80000"}});
  Record* low = database.insertRecord(end, {{0, "LINE"}, {5, "3"}});
  Record* between = database.insertRecord(end, {{0, "LINE"}, {5, "7A000"}});
  Record* duplicate = database.insertRecord(end, {{0, "LINE"}, {5, "25"}});
  EXPECT_EQ(database.byHandle(0x80000), added);
  EXPECT_EQ(database.byHandle(3), low);
  EXPECT_EQ(database.byHandle(0x7A000), between);
  EXPECT_EQ(database.byHandle(0x25), stored(0x25 - 0x20 + 2));
  EXPECT_NE(duplicate, stored(0x25 - 0x20 + 2));
  for (unsigned handle = 0x20; handle < 0x220; ++handle)
    ASSERT_EQ(database.byHandle(handle), stored(handle - 0x20 + 2)) << hex(handle);
}

}  // namespace

namespace {

// Handles in no order, with many repeats: each is found at the record
// stored first with it, however the records' runs were merged.
TEST(HandleIndexOrder, AnyOrderFindsTheFirstRecordOfEachHandle) {
  for (unsigned seed : {1u, 7u, 12345u}) {
    std::vector<unsigned> handles;
    unsigned state = seed;
    for (int i = 0; i < 5000; ++i) {
      state = state * 1103515245u + 12345u;
      // A few long ascending stretches among the random ones.
      handles.push_back(i % 1000 < 700 ? 0x10000 + static_cast<unsigned>(i) : 1 + (state >> 16) % 3000);
    }
    std::vector<db::Record> records;
    for (unsigned handle : handles) records.push_back(record("LINE", handle));
    db::Database database;
    database.adopt(std::move(records));
    std::vector<long> first(0x10000 + handles.size(), 0);
    for (size_t i = 0; i < handles.size(); ++i)
      if (first[handles[i]] == 0) first[handles[i]] = static_cast<long>(i) + 1;
    for (unsigned handle = 1; handle < first.size(); ++handle)
      ASSERT_EQ(database.byHandle(handle), first[handle] ? database.bySerial(first[handle]) : nullptr)
          << seed << " " << hex(handle);
  }
}

}  // namespace
