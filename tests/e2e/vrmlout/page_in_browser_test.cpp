// The page of vrmlout --html in a real browser (headless Chromium, software
// WebGL), driven by tests/tools/page_probe.py: the viewer loads the world
// from the page alone, the model fills a fair share of the view, the console
// stays clean, and a click on an object with a link follows it. Built into
// the plain build only: a sanitized one adds nothing to the browser's work.
#ifndef VRML_SANITIZED_BUILD
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

#include "support/corpus.h"
#include "support/scratch_dir.h"
#include "web_page_support.h"

namespace {

using test_support::ProcessResult;
using test_support::runCommand;
using web_page_test::exportPage;
using web_page_test::viewerMissing;

// The facts the probe reported, by their first word.
using Facts = std::map<std::string, std::vector<std::string>>;

std::string browserMissing() {
  if (runCommand("command -v chromium >/dev/null").status != 0)
    return "chromium is not installed (bash tools/install-deps.sh --browser)";
  return "";
}

Facts probe(const std::string& page, const std::string& options) {
  ProcessResult run = runCommand("/usr/bin/python3 '" + std::string(VRML_SOURCE_DIR) + "/tests/tools/page_probe.py' '" +
                                 page + "' " + options + " 2>&1");
  Facts facts;
  std::istringstream lines(run.output);
  for (std::string line; std::getline(lines, line);) {
    size_t space = line.find(' ');
    facts[line.substr(0, space)].push_back(space == std::string::npos ? "" : line.substr(space + 1));
  }
  if (run.status != 0) facts["probe-failed"].push_back(run.output);
  return facts;
}

std::string first(const Facts& facts, const std::string& key) {
  auto found = facts.find(key);
  return found == facts.end() || found->second.empty() ? "" : found->second.front();
}

// Loaded, named, counted, in view, and nothing went wrong on the way.
void expectShown(const Facts& facts, const std::string& drawing, const std::string& counts, double coverage) {
  EXPECT_EQ(facts.count("probe-failed"), 0u) << first(facts, "probe-failed");
  EXPECT_EQ(first(facts, "state"), "loaded");
  EXPECT_EQ(first(facts, "title"), drawing);
  EXPECT_EQ(first(facts, "counts"), counts);
  EXPECT_GT(std::atof(first(facts, "coverage").c_str()), coverage) << "the model is too small or not there";
  for (const char* bad : {"console-error", "request"})
    if (facts.count(bad))
      for (const std::string& what : facts.at(bad)) ADD_FAILURE() << bad << ": " << what;
}

TEST(PageInBrowser, TheShowcaseIsInViewAndItsLinkOpensWithItsDescriptionShown) {
  WEB_PAGE_TEST_NEEDS(browserMissing());
  test_support::ScratchDir scratch;
  std::string page = scratch.file("showcase.html");
  ProcessResult run = exportPage(std::string(VRML_SOURCE_DIR) + "/samples/showcase.dxf", scratch.file("showcase.wrl"),
                                 page);
  WEB_PAGE_TEST_NEEDS(viewerMissing(run));
  ASSERT_EQ(run.status, 0) << run.output;
  // The picture of the page the README shows is this one.
  std::string picture = std::string(VRML_BIN_DIR) + "/../showcase-page.png";
  Facts facts = probe(page, "--follow-link --screenshot '" + picture + "'");
  expectShown(facts, "showcase.dxf", "18 object(s) converted, 0 object(s) ignored", 0.05);
  std::string hover = first(facts, "hover");
  EXPECT_TRUE(hover.ends_with(" The red box")) << "the pointer over a linked object shows: " << hover;
  EXPECT_EQ(first(facts, "navigated"), "https://example.org/box.html");
}

TEST(PageInBrowser, ACorpusDrawingIsInViewWithoutAnError) {
  SKIP_WITHOUT_CORPUS();
  WEB_PAGE_TEST_NEEDS(browserMissing());
  test_support::ScratchDir scratch;
  std::string page = scratch.file("teapot.html");
  ProcessResult run = exportPage(test_support::corpusFile("libdxf__zcad-teapot_R2000.dxf"), scratch.file("teapot.wrl"),
                                 page);
  WEB_PAGE_TEST_NEEDS(viewerMissing(run));
  ASSERT_EQ(run.status, 0) << run.output;
  expectShown(probe(page, ""), "libdxf__zcad-teapot_R2000.dxf", "1152 object(s) converted, 0 object(s) ignored", 0.1);
}

}  // namespace
#endif
