#include <gtest/gtest.h>

#include <string>

#include "drawing_object.h"
#include "wrl_url.h"

namespace {

class UrlRecord : public DrawingObject {
 protected:
  std::string text(const char* app) {
    resbuf* list = load(app);
    std::string value = !list ? "<none>" : list->rbnext ? list->rbnext->resval.rstring : "<name only>";
    ads_relrb(list);
    return value;
  }
};

std::string shown(const char* text) { return text ? text : "<absent>"; }

}  // namespace

TEST_F(UrlRecord, ObjectWithoutLinkDataReadsAsNoLink) {
  WrlUrl url;
  EXPECT_EQ(readInto(url), 1);
  EXPECT_EQ(url.url(), nullptr);
  EXPECT_EQ(url.description(), nullptr);
}

TEST_F(UrlRecord, HostHyperlinkAloneGivesTheUrlWithoutDescription) {
  store(ads_buildlist(1001, "PE_URL", 1000, "http://host/a.wrl", 1000, "more", 1070, 3, 0));
  WrlUrl url;
  EXPECT_EQ(readInto(url), 1);
  EXPECT_EQ(shown(url.url()), "http://host/a.wrl");
  EXPECT_EQ(url.description(), nullptr);

  // Writing it back keeps only the name and the URL under the host's application.
  ASSERT_EQ(writeFrom(url), 1);
  resbuf* list = load("PE_URL");
  EXPECT_EQ(itemCount(list), 2);
  ads_relrb(list);
  url.clear();
}

TEST_F(UrlRecord, DescriptionWithoutUrlIsReadButLeavesTheUrlAbsent) {
  store(ads_buildlist(1001, "VRML_Url_Data", 1000, "Door", 0));
  WrlUrl url;
  EXPECT_EQ(readInto(url), 1);
  EXPECT_EQ(url.url(), nullptr);
  EXPECT_EQ(shown(url.description()), "Door");
  url.clear();
}

TEST_F(UrlRecord, MalformedHostListFailsBeforeTheDescriptionIsRead) {
  store(ads_buildlist(1001, "PE_URL", 1070, 1, 0));
  store(ads_buildlist(1001, "VRML_Url_Data", 1000, "stored", 0));
  WrlUrl url;
  url.setUrl("kept.wrl");
  url.setDescription("kept");
  EXPECT_EQ(readInto(url), 0);
  EXPECT_EQ(shown(url.url()), "kept.wrl");
  EXPECT_EQ(shown(url.description()), "kept");
  url.clear();
}

TEST_F(UrlRecord, MalformedDescriptionListFailsAfterTheUrlWasTaken) {
  store(ads_buildlist(1001, "PE_URL", 1000, "a.wrl", 0));
  store(ads_buildlist(1001, "VRML_Url_Data", 1040, 1.5, 0));
  WrlUrl url;
  EXPECT_EQ(readInto(url), 0);
  EXPECT_EQ(shown(url.url()), "a.wrl");
  EXPECT_EQ(url.description(), nullptr);
  url.clear();
}

TEST_F(UrlRecord, EmptyStoredUrlIsPresent) {
  store(ads_buildlist(1001, "PE_URL", 1000, "", 0));
  WrlUrl url;
  EXPECT_EQ(readInto(url), 1);
  ASSERT_NE(url.url(), nullptr);
  EXPECT_EQ(shown(url.url()), "");
  url.clear();
}

TEST_F(UrlRecord, WriteThenReadGivesTheSameTexts) {
  WrlUrl written;
  written.setUrl("rooms/a \"b\" \\c.wrl");
  written.setDescription("Door \xC3\xA9");
  ASSERT_EQ(writeFrom(written), 1);
  EXPECT_EQ(text("PE_URL"), "rooms/a \"b\" \\c.wrl");
  EXPECT_EQ(text("VRML_Url_Data"), "Door \xC3\xA9");
  WrlUrl read_back;
  EXPECT_EQ(readInto(read_back), 1);
  EXPECT_EQ(shown(read_back.url()), shown(written.url()));
  EXPECT_EQ(shown(read_back.description()), shown(written.description()));
  written.clear();
  read_back.clear();
}

TEST_F(UrlRecord, AbsentUrlRemovesTheHostHyperlinkAndKeepsTheDescriptionData) {
  store(ads_buildlist(1001, "PE_URL", 1000, "old.wrl", 0));
  WrlUrl url;
  url.setDescription("stays");
  ASSERT_EQ(writeFrom(url), 1);
  EXPECT_EQ(text("PE_URL"), "<none>");
  EXPECT_EQ(text("VRML_Url_Data"), "stays");
  url.clear();
}

TEST_F(UrlRecord, RefusedHostListLeavesTheDescriptionUnwritten) {
  WrlUrl url;
  url.setUrl("a.wrl");
  url.setDescription("d");
  AcDbObject* object = open(AcDb::kForRead);  // the host refuses data on a read-only opening
  EXPECT_EQ(url.writeToObject(object), 0);
  object->close();
  EXPECT_EQ(text("PE_URL"), "<none>");
  EXPECT_EQ(text("VRML_Url_Data"), "<none>");
  EXPECT_EQ(url.writeToObject(nullptr), 0);
  EXPECT_EQ(url.readFromObject(nullptr), 0);

  // The two lists are attached one after the other: a description the host
  // refuses (a line break) fails the write with the link already stored.
  store(ads_buildlist(1001, "VRML_Url_Data", 1000, "old", 0));
  url.setDescription("two\nlines");
  EXPECT_EQ(writeFrom(url), 0);
  EXPECT_EQ(text("PE_URL"), "a.wrl");
  EXPECT_EQ(text("VRML_Url_Data"), "old");
  url.clear();
}

TEST_F(UrlRecord, SettersCopyAndReleaseTheirTexts) {
  size_t before = acad::heap::stats().liveBlocks;
  WrlUrl url;
  char source[] = "first";
  ASSERT_EQ(url.setUrl(source), 1);
  source[0] = 'X';
  EXPECT_EQ(shown(url.url()), "first");
  EXPECT_EQ(acad::heap::stats().liveBlocks, before + 1);
  ASSERT_EQ(url.setUrl(nullptr), 1);
  EXPECT_EQ(url.url(), nullptr);
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);

  url.setDescription("kept");
  acad::heap::failAfter(1);
  EXPECT_EQ(url.setDescription("lost"), 0);  // no copy: nothing changes
  acad::heap::failAfter(0);
  EXPECT_EQ(shown(url.description()), "kept");
  url.clear();
  EXPECT_EQ(url.description(), nullptr);
}

// Whichever allocation fails, no half-built list reaches the object: each
// application holds either its old or its new data, and nothing leaks.
TEST_F(UrlRecord, ShortageWhileWritingNeverAttachesAHalfBuiltList) {
  store(ads_buildlist(1001, "PE_URL", 1000, "old.wrl", 0));
  store(ads_buildlist(1001, "VRML_Url_Data", 1000, "old", 0));
  WrlUrl url;
  url.setUrl("new.wrl");
  url.setDescription("new");
  int result = 0;
  uint64_t n = 1;
  for (; n < 200 && result == 0; ++n) {
    result = writeFromFailingAllocation(url, n);
    std::string stored = text("PE_URL");
    std::string described = text("VRML_Url_Data");
    EXPECT_TRUE(stored == "old.wrl" || stored == "new.wrl") << n << ": " << stored;
    EXPECT_TRUE(described == "old" || (described == "new" && stored == "new.wrl")) << n << ": " << described;
    if (result) {
      EXPECT_EQ(described, "new");
    }
  }
  EXPECT_EQ(result, 1);
  EXPECT_GT(n, 4u) << "every allocation of the write was tried";
  url.clear();
}
