#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "acadmem.h"
#include "adslib.h"
#include "heap_faults.h"

TEST(Heap, CountsLiveBlocksAndBytesAcrossEveryCall) {
  auto before = acad::heap::stats();
  void* a = acad_malloc(10);
  void* b = acad_calloc(4, 8);
  char* c = acad__strdup("abc");
  EXPECT_EQ(acad::heap::stats().liveBlocks, before.liveBlocks + 3);
  EXPECT_EQ(acad::heap::stats().liveBytes, before.liveBytes + 10 + 32 + 4);
  EXPECT_EQ(acad__msize(b), 32u);
  a = acad_realloc(a, 100);
  EXPECT_EQ(acad__msize(a), 100u);
  EXPECT_STREQ(c, "abc");
  acad_free(a);
  acad_free(b);
  acad_free(c);
  acad_free(nullptr);
  EXPECT_EQ(acad::heap::stats().liveBlocks, before.liveBlocks);
  EXPECT_EQ(acad::heap::stats().liveBytes, before.liveBytes);
}

TEST(Heap, FailsExactlyTheNthAllocation) {
  acad::heap::failAfter(3);
  void* first = acad_malloc(1);
  void* second = acad_malloc(1);
  EXPECT_FALSE(acad::heap::takeFiredFailure());
  EXPECT_EQ(acad_malloc(1), nullptr);
  EXPECT_TRUE(acad::heap::takeFiredFailure());
  void* fourth = acad_malloc(1);
  EXPECT_NE(fourth, nullptr);
  acad_free(first);
  acad_free(second);
  acad_free(fourth);
}

TEST(ResultBuffers, BuildListCopiesStringsAndReleaseFreesThem) {
  auto before = acad::heap::stats();
  char text[] = "PE_URL";
  resbuf* list = ads_buildlist(RTSHORT, 1, RTREAL, 0.2, RTSTR, text, RTNIL, 0);
  ASSERT_NE(list, nullptr);
  text[0] = 'X';
  EXPECT_EQ(list->restype, RTSHORT);
  EXPECT_EQ(list->resval.rint, 1);
  EXPECT_DOUBLE_EQ(list->rbnext->resval.rreal, 0.2);
  EXPECT_STREQ(list->rbnext->rbnext->resval.rstring, "PE_URL");
  EXPECT_EQ(list->rbnext->rbnext->rbnext->restype, RTNIL);
  EXPECT_EQ(list->rbnext->rbnext->rbnext->rbnext, nullptr);
  ads_relrb(list);
  EXPECT_EQ(acad::heap::stats().liveBlocks, before.liveBlocks);
}

TEST(ResultBuffers, BuildListGivesNothingWhenTheHeapRunsOut) {
  auto before = acad::heap::stats();
  acad::heap::failAfter(2);
  EXPECT_EQ(ads_buildlist(RTSTR, "a", RTSTR, "b", 0), nullptr);
  acad::heap::failAfter(0);
  EXPECT_EQ(acad::heap::stats().liveBlocks, before.liveBlocks);
}

// Small blocks freed on a thread serve its next small requests: each is
// still counted, still sized as asked, and still subject to an injected
// failure, on any thread; one grown and shrunk keeps its contents.
TEST(Heap, SmallBlocksServedAgainAreCountedSizedAndFailedAsAnyOther) {
  auto cycle = [] {
    for (int i = 0; i < 100; ++i) {
      void* one = acad_malloc(1);
      void* most = acad_malloc(48);
      EXPECT_EQ(acad__msize(one) + acad__msize(most), 49u);
      acad_free(most);
      acad_free(one);
    }
  };
  auto before = acad::heap::stats();
  cycle();
  std::thread(cycle).join();
  EXPECT_EQ(acad::heap::stats().allocations, before.allocations + 400);

  acad::heap::failAfter(2);
  void* first = acad_malloc(8);
  EXPECT_EQ(acad_malloc(8), nullptr);
  EXPECT_TRUE(acad::heap::takeFiredFailure());
  acad_free(first);

  char* text = static_cast<char*>(acad_realloc(acad__strdup("small"), 200));
  text = static_cast<char*>(acad_realloc(text, 6));
  EXPECT_STREQ(text, "small");
  acad_free(text);
  EXPECT_EQ(acad::heap::stats().liveBlocks, before.liveBlocks);
  EXPECT_EQ(acad::heap::stats().liveBytes, before.liveBytes);
}
