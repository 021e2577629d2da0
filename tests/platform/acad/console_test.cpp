// The command line's transcript of a script: answers echoed after their
// prompts, and the count of prompts left unanswered.
#include <gtest/gtest.h>

#include <cstdio>

#include "acad/console.h"

namespace {

class ScriptConsole : public ::testing::Test {
 protected:
  void use(const char* text) {
    m_script = std::tmpfile();
    std::fputs(text, m_script);
    std::rewind(m_script);
    acad::console::useScript(m_script);
    acad::console::beginCapture();
  }
  void TearDown() override {
    acad::console::endCapture();
    acad::console::useScript(nullptr);
    std::fclose(m_script);
  }
  std::FILE* m_script = nullptr;
};

TEST_F(ScriptConsole, EchoesAnswersAndCountsOnlyUnansweredPrompts) {
  use("VRMLOUT\r\nanswer\n\n");
  int exhausted = acad::console::exhaustedCount();
  std::string line;
  ASSERT_TRUE(acad::console::peekLine(line));
  EXPECT_EQ(line, "VRMLOUT");
  ASSERT_TRUE(acad::console::readCommand("\nCommand: ", line));
  EXPECT_EQ(line, "VRMLOUT") << "the carriage return of a DOS line end is dropped";
  ASSERT_TRUE(acad::console::readLine("\nFirst: ", line));
  EXPECT_EQ(line, "answer");
  ASSERT_TRUE(acad::console::readLine("\nSecond: ", line));
  EXPECT_EQ(line, "") << "an empty line is an answer (Enter)";
  EXPECT_FALSE(acad::console::readLine("\nThird: ", line));
  EXPECT_EQ(acad::console::exhaustedCount(), exhausted + 1);
  EXPECT_FALSE(acad::console::readCommand("\nCommand: ", line));
  EXPECT_EQ(acad::console::exhaustedCount(), exhausted + 1) << "the script simply ended";
  EXPECT_EQ(acad::console::endCapture(), "\nCommand: VRMLOUT\nFirst: answer\nSecond: \nThird: \n\nCommand: \n");
}

}  // namespace
