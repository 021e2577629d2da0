// vrmlout --html: the world file stays as exported, the page holds it and the
// drawing's facts, escaped where they land, and the marks of the page are
// filled in order without touching the viewer's text after them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "batch/html_page.h"
#include "batch/model_framing.h"
#include "batch/web_text.h"
#include "support/files.h"
#include "support/scratch_dir.h"
#include "web_page_support.h"

namespace {

using test_support::ProcessResult;
using testing::HasSubstr;
using testing::Not;
using web_page_test::exportPage;
using web_page_test::viewerMissing;
using web_page_test::vrmlout;

std::string showcase() { return std::string(VRML_SOURCE_DIR) + "/samples/showcase.dxf"; }

// The number after "name": in a JSON text, or the first of its list.
double jsonNumber(const std::string& json, const std::string& name) {
  size_t at = json.find("\"" + name + "\": ");
  if (at == std::string::npos) return NAN;
  const char* value = json.c_str() + at + name.size() + 4;
  return std::strtod(value + (*value == '[' ? 1 : 0), nullptr);
}

TEST(HtmlPage, TextCannotEndItsScriptOrMarkUpThePage) {
  EXPECT_EQ(scriptString("a\"b\\c\n\td</script><!--\x01\x7f\r"),
            R"("a\"b\\c\n\td\u003c/script>\u003c!--\u0001\u007f\u000d")");
  EXPECT_EQ(scriptString("caf\xc3\xa9"), "\"caf\xc3\xa9\"") << "UTF-8 passes as it is";
  EXPECT_EQ(htmlText("<b>R&D's \"x\"</b>"), "&lt;b&gt;R&amp;D&#39;s &quot;x&quot;&lt;/b&gt;");
}

TEST(HtmlPage, MarksAreFilledInOrderAndTheViewerAfterThemIsLeftAlone) {
  const std::string viewer = "<script>/* @DRAWING@ @WORLD@ @COUNTS@ */</script>";
  const std::string skeleton =
      "<title>@DRAWING@</title><script>w=@WORLD@;f=@FRAMING@;</script>"
      "<h1>@DRAWING@</h1><p>@COUNTS@</p>" +
      viewer;
  WorldBounds bounds;
  const double a[3] = {1, 2, 3}, b[3] = {5, 4, 3};
  bounds.add(a);
  bounds.add(b);
  std::string page = htmlPage(skeleton, "#VRML V2.0 utf8\nShape {}\n", bounds,
                              {"R&D <1>.dxf", "2 object(s) converted, 1 object(s) ignored"});
  EXPECT_THAT(page, HasSubstr("<title>R&amp;D &lt;1&gt;.dxf</title>")) << page;
  EXPECT_THAT(page, HasSubstr("<h1>R&amp;D &lt;1&gt;.dxf</h1><p>2 object(s) converted, 1 object(s) ignored</p>"))
      << page;
  EXPECT_THAT(page, HasSubstr("w=\"#VRML V2.0 utf8\\nShape {}\\n\";")) << page;
  EXPECT_TRUE(page.ends_with(viewer)) << page;

  // The page's camera is the picture's.
  ModelFraming framing = frameModel(bounds);
  size_t start = page.find("f=") + 2;
  std::string json = page.substr(start, page.find(";</script>", start) - start);
  EXPECT_NEAR(jsonNumber(json, "scale"), framing.scale, 1e-6) << json;
  EXPECT_NEAR(jsonNumber(json, "fieldOfView"), kFramingFieldOfView, 1e-9) << json;
  EXPECT_NEAR(jsonNumber(json, "translation"), framing.translation[0], 1e-6) << json;
  EXPECT_NEAR(jsonNumber(json, "position"), framing.position[0], 1e-6) << json;

  EXPECT_EQ(htmlPage("<title>@DRAWING@</title>", "", bounds, {"a.dxf", ""}), "") << "a skeleton without the marks";
}

TEST(HtmlPage, TheWorldFileIsTheSameWithOrWithoutThePageAndThePageHoldsIt) {
  test_support::ScratchDir scratch;
  std::string plain = scratch.file("plain.wrl"), shown = scratch.file("shown.wrl"), page = scratch.file("show.html");
  ProcessResult run = exportPage(showcase(), shown, page);
  WEB_PAGE_TEST_NEEDS(viewerMissing(run));
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_THAT(run.output, HasSubstr(page + ": page\n")) << run.output;
  ASSERT_EQ(vrmlout("'" + showcase() + "' '" + plain + "' --vrml2").status, 0);
  std::string world = test_support::readFile(shown);
  EXPECT_EQ(world, test_support::readFile(plain)) << "--html writes VRML 2.0 and leaves the world as exported";
  std::string text = test_support::readFile(page);
  EXPECT_THAT(text, HasSubstr(scriptString(world))) << "the world's text, whole";
  EXPECT_THAT(text, HasSubstr("<title>showcase.dxf</title>"));
  EXPECT_THAT(text, HasSubstr("18 object(s) converted, 0 object(s) ignored"));
  EXPECT_THAT(text, Not(HasSubstr("<script src"))) << "every script is in the page";
  EXPECT_THAT(text, Not(HasSubstr("@WORLD@")));
}

TEST(HtmlPage, WhatCannotMakeAPageIsRefusedAndAPageThatCannotBeWrittenLeavesTheWorld) {
  test_support::ScratchDir scratch;
  ProcessResult old = vrmlout("'" + showcase() + "' --vrml1 --html '" + scratch.file("a.html") + "'");
  EXPECT_EQ(old.status, 2) << old.output;
  EXPECT_THAT(old.output, HasSubstr("--html shows a VRML 2.0 world: leave out --vrml1")) << old.output;
  ProcessResult two = vrmlout("'" + showcase() + "' '" + showcase() + "' --out-dir '" + scratch.path() + "' --html '" +
                              scratch.file("b.html") + "'");
  EXPECT_EQ(two.status, 2) << two.output;
  EXPECT_THAT(two.output, HasSubstr("--html takes one drawing")) << two.output;

  std::string world = scratch.file("c.wrl");
  ProcessResult lost = exportPage(showcase(), world, scratch.file("no/such/folder/c.html"));
  WEB_PAGE_TEST_NEEDS(viewerMissing(lost));
  EXPECT_EQ(lost.status, 3) << lost.output;
  EXPECT_THAT(lost.output,
              HasSubstr("vrmlout: no page of " + world + ": cannot write " + scratch.file("no/such/folder/c.html")))
      << lost.output;
  EXPECT_NE(test_support::readFile(world), "");
}

}  // namespace
