// vrmlout --html: the world file stays as exported, the page holds it and the
// drawing's facts, escaped where they land, and the marks of the page are
// filled in order without touching the viewer's text after them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "../../../host/batch/html_page.h"
#include "../../../host/batch/model_framing.h"
#include "../../../host/batch/web_text.h"
#include "../../platform/dxf/dxf_test_support.h"
#include "web_page_support.h"

namespace {

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
  const std::string skeleton = "<title>@DRAWING@</title><script>w=@WORLD@;f=@FRAMING@;</script>"
                               "<h1>@DRAWING@</h1><p>@COUNTS@</p>" + viewer;
  WorldBounds bounds;
  const double a[3] = {1, 2, 3}, b[3] = {5, 4, 3};
  bounds.add(a);
  bounds.add(b);
  std::string page = htmlPage(skeleton, "#VRML V2.0 utf8\nShape {}\n", bounds,
                              {"R&D <1>.dxf", "2 object(s) converted, 1 object(s) ignored"});
  EXPECT_NE(page.find("<title>R&amp;D &lt;1&gt;.dxf</title>"), std::string::npos) << page;
  EXPECT_NE(page.find("<h1>R&amp;D &lt;1&gt;.dxf</h1><p>2 object(s) converted, 1 object(s) ignored</p>"),
            std::string::npos) << page;
  EXPECT_NE(page.find("w=\"#VRML V2.0 utf8\\nShape {}\\n\";"), std::string::npos) << page;
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
  dxf_test::ScratchDir scratch;
  std::string plain = scratch.file("plain.wrl"), shown = scratch.file("shown.wrl"), page = scratch.file("show.html");
  ProcessResult run = exportPage(showcase(), shown, page);
  WEB_PAGE_TEST_NEEDS(viewerMissing(run));
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find(page + ": page\n"), std::string::npos) << run.output;
  ASSERT_EQ(vrmlout("'" + showcase() + "' '" + plain + "' --vrml2").status, 0);
  std::string world = dxf_test::readFile(shown);
  EXPECT_EQ(world, dxf_test::readFile(plain)) << "--html writes VRML 2.0 and leaves the world as exported";
  std::string text = dxf_test::readFile(page);
  EXPECT_NE(text.find(scriptString(world)), std::string::npos) << "the world's text, whole";
  EXPECT_NE(text.find("<title>showcase.dxf</title>"), std::string::npos);
  EXPECT_NE(text.find("18 object(s) converted, 0 object(s) ignored"), std::string::npos);
  EXPECT_EQ(text.find("<script src"), std::string::npos) << "every script is in the page";
  EXPECT_EQ(text.find("@WORLD@"), std::string::npos);
}

TEST(HtmlPage, WhatCannotMakeAPageIsRefusedAndAPageThatCannotBeWrittenLeavesTheWorld) {
  dxf_test::ScratchDir scratch;
  ProcessResult old = vrmlout("'" + showcase() + "' --vrml1 --html '" + scratch.file("a.html") + "'");
  EXPECT_EQ(old.status, 2) << old.output;
  EXPECT_NE(old.output.find("--html shows a VRML 2.0 world: leave out --vrml1"), std::string::npos) << old.output;
  ProcessResult two = vrmlout("'" + showcase() + "' '" + showcase() + "' --out-dir '" + scratch.path() +
                              "' --html '" + scratch.file("b.html") + "'");
  EXPECT_EQ(two.status, 2) << two.output;
  EXPECT_NE(two.output.find("--html takes one drawing"), std::string::npos) << two.output;

  std::string world = scratch.file("c.wrl");
  ProcessResult lost = exportPage(showcase(), world, scratch.file("no/such/folder/c.html"));
  WEB_PAGE_TEST_NEEDS(viewerMissing(lost));
  EXPECT_EQ(lost.status, 3) << lost.output;
  EXPECT_NE(lost.output.find("vrmlout: no page of " + world + ": cannot write " + scratch.file("no/such/folder/c.html")),
            std::string::npos) << lost.output;
  EXPECT_NE(dxf_test::readFile(world), "");
}

}  // namespace
