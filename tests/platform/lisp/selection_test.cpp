#include <gmock/gmock.h>

#include <cstdio>
#include <regex>
#include <string>

#include "acad/console.h"
#include "acad/selection.h"
#include "dbbuild.h"
#include "lisp/interpreter.h"
#include "lisp_test_support.h"

namespace {

class LispSelection : public testing::Test {
 protected:
  void SetUp() override {
    db::build::newDrawing();
    m_first = db::build::addEntity("LINE",
                                   {{8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "0"}, {31, "0"}});
    db::build::addEntity("CIRCLE", {{8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "2"}});
    db::build::addEntity("LINE", {{8, "0"}, {10, "5"}, {20, "6"}, {30, "7"}, {11, "1"}, {21, "0"}, {31, "0"}});
  }
  // Answers the prompts from `answers` while `text` is evaluated.
  std::string withAnswers(const std::string& answers, const std::string& text) {
    std::FILE* script = fmemopen(const_cast<char*>(answers.data()), answers.size(), "r");
    acad::console::useScript(script);
    std::string out = lispOutput(text);
    acad::console::useScript(nullptr);
    std::fclose(script);
    return out;
  }
  AcDbObjectId m_first;
};

TEST_F(LispSelection, SsgetXTakesEveryEntityOrWhatTheFilterMatches) {
  EXPECT_TRUE(
      std::regex_match(lispOutput("(setq everything (ssget \"X\"))"), std::regex("<Selection set: [0-9a-f]+>")));
  EXPECT_EQ(lispOutput("(sslength everything)"), "3");
  EXPECT_EQ(lispOutput("(sslength (ssget \"_X\" '((0 . \"LINE\"))))"), "2");
  EXPECT_EQ(lispOutput("(ssget \"X\" '((0 . \"ARC\")))"), "nil");
  EXPECT_EQ(lispOutput("(ssname everything 0)"), lispOutput("(entnext)"));
  EXPECT_EQ(lispOutput("(ssname everything 3)"), "nil");
}

TEST_F(LispSelection, WrongArgumentsAreNamed) {
  EXPECT_EQ(lispOutput("(sslength 1)"), "; error: bad argument type: lselsetp 1");
  EXPECT_EQ(lispOutput("(ssname (ssget \"X\") \"a\")"), "; error: bad argument type: fixnump \"a\"");
  EXPECT_EQ(lispOutput("(ssget \"X\" '(1 2))"), "; error: bad argument type: consp 1");
  EXPECT_EQ(lispOutput("(ssget \"X\" '((62 . \"red\")))"), "; error: bad argument type: fixnump \"red\"");
  EXPECT_EQ(lispOutput("(ssget 5)"), "; error: bad argument type: stringp 5");
}

TEST_F(LispSelection, InteractiveSelectionAndPicksTakeTheScriptsAnswers) {
  std::string out = withAnswers("ALL\n\n", "(setq picked (ssget))");
  EXPECT_TRUE(std::regex_search(out, std::regex("<Selection set: [0-9a-f]+>$"))) << out;
  EXPECT_EQ(lispOutput("(sslength picked)"), "3");
  char handle[32];
  std::snprintf(handle, sizeof handle, "%llX", static_cast<unsigned long long>(m_first.handle()));
  out = withAnswers(std::string(handle) + "\n", "(entsel \"\\nPick: \")");
  std::string expected = "(" + lispOutput("(entnext)") + " (0.0 0.0 0.0))";
  EXPECT_THAT(out, testing::StartsWith("\nPick: " + std::string(handle)));
  EXPECT_THAT(out, testing::EndsWith(expected));
  out = withAnswers("", "(entsel)");
  EXPECT_THAT(out, testing::StartsWith("\nSelect object: "));
  EXPECT_THAT(out, testing::EndsWith("nil"));
}

TEST_F(LispSelection, SetsNothingRefersToAreFreedByCollection) {
  lisp::hostInterpreter().store().collect();
  size_t before = acad::selection::liveSets();
  lispOutput("(setq kept (ssget \"X\"))");
  lispOutput("(ssget \"X\")");
  lispOutput("(sslength (ssget \"X\"))");
  EXPECT_EQ(acad::selection::liveSets(), before + 3);
  lisp::hostInterpreter().store().collect();
  EXPECT_EQ(acad::selection::liveSets(), before + 1);
  EXPECT_EQ(lispOutput("(sslength kept)"), "3");
  lispOutput("(setq kept nil)");
  lisp::hostInterpreter().store().collect();
  EXPECT_EQ(acad::selection::liveSets(), before);
}

}  // namespace
