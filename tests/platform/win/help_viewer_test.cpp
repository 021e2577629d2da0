#include <gmock/gmock.h>

#include <fstream>
#include <string>

#include "acad/console.h"
#include "support/files.h"
#include "support/message_catalogue.h"
#include "support/scratch_dir.h"
#include "win/help_file.h"
#include "winuser.h"

namespace {

const std::string kShippedHelp = std::string(VRML_BIN_DIR) + "/vrml.hlp";

std::string helpOutput(const std::string& path, UINT command, uintptr_t data, BOOL* result) {
  testing::internal::CaptureStdout();
  *result = WinHelpA(nullptr, path.c_str(), command, data);
  return testing::internal::GetCapturedStdout();
}

TEST(HelpFile, TheShippedHelpCoversCommandsDialogsFunctionsAndData) {
  support::Result<win::help::HelpFile> read = win::help::readHelpFile(kShippedHelp);
  ASSERT_TRUE(read.ok()) << read.status().message();
  const win::help::HelpFile& help = read.value();
  std::string keywords;
  std::string wrlout;
  for (const auto& topic : help.topics) {
    keywords += topic.keyword + " ";
    if (topic.keyword == "vrml_wrlout")
      for (const std::string& line : topic.lines) wrlout += line + " ";
  }
  for (const char* needed : {"vrmlout", "vrmlprop", "vrmlabout", "vrmlhelp", "options", "properties", "progress",
                             "vrml_wrlout", "vrml_geturl", "vrml_getmaterial", "vrml_init", "data"})
    EXPECT_THAT(keywords, testing::HasSubstr(std::string(needed) + " ")) << needed;
  // What vrml_wrlout prints and answers when the file cannot be created
  // (message 7) or written (message 4).
  for (int message : {7, 4})
    EXPECT_THAT(wrlout, testing::HasSubstr("\"" + kMessageCatalogue.at(message).substr(1) + "\" and returns nil"));
}

TEST(HelpViewer, FinderPrintsTheTableOfContentsIndentedByLevel) {
  test_support::ScratchDir scratch;
  std::string path = scratch.file("small.hlp");
  std::ofstream(path, std::ios::binary) << "# test\ntitle Small Help\r\ntopic 1 1 intro Introduction\nHello.\n.\n"
                                           "topic 5 2 detail The detail\nMore.\n";
  BOOL result = FALSE;
  EXPECT_EQ(helpOutput(path, HELP_FINDER, 0, &result),
            "\nSmall Help - Contents\n  1  Introduction\n    5  The detail\n");
  EXPECT_TRUE(result);
  EXPECT_EQ(helpOutput(path, HELP_CONTEXT, 1, &result), "\nIntroduction\n============\nHello.\n\n");
  EXPECT_EQ(helpOutput(path, HELP_KEY, reinterpret_cast<uintptr_t>("DETAIL"), &result),
            "\nThe detail\n==========\nMore.\n");
  EXPECT_TRUE(result);
  EXPECT_EQ(helpOutput(path, HELP_CONTEXT, 99, &result), "\nHelp: no such topic in \"" + path + "\".");
  EXPECT_FALSE(result);
  EXPECT_EQ(helpOutput(path, 0x42, 0, &result), "\nHelp: command 0x42 is not supported.");
  EXPECT_FALSE(result);
}

TEST(HelpViewer, APersonReadsTopicsByNumberUntilEnter) {
  test_support::ScratchDir scratch;
  std::string path = scratch.file("small.hlp");
  test_support::writeFile(path, "title Small\ntopic 1 1 intro Intro\nHello.\n");
  std::string answers = "1\n99\n\nnot read\n";
  std::FILE* script = fmemopen(answers.data(), answers.size(), "r");
  acad::console::useScript(script);
  acad::console::setInteractive(true);
  BOOL result = FALSE;
  std::string shown = helpOutput(path, HELP_FINDER, 0, &result);
  acad::console::write("\n");  // the line end typed last stands for this one
  acad::console::setInteractive(false);
  acad::console::useScript(nullptr);
  std::fclose(script);
  // At a terminal the typed line end stands for a topic's leading "\n".
  const std::string prompt = "Topic number (Enter to close): ";
  EXPECT_EQ(shown, "\nSmall - Contents\n  1  Intro\n" + prompt + "Intro\n=====\nHello.\n" + prompt +
                       "No such topic.\n" + prompt);
  EXPECT_TRUE(result);
}

TEST(HelpViewer, MissingOrMalformedFilesAreReportedNotShown) {
  test_support::ScratchDir scratch;
  BOOL result = TRUE;
  std::string missing = scratch.file("missing.hlp");
  EXPECT_EQ(helpOutput(missing, HELP_FINDER, 0, &result), "\nHelp: cannot open help file \"" + missing + "\".");
  EXPECT_FALSE(result);
  std::string bad = scratch.file("bad.hlp");
  std::ofstream(bad, std::ios::binary) << "title T\ntopic x 1 k Title\n";
  EXPECT_EQ(helpOutput(bad, HELP_FINDER, 0, &result),
            "\nHelp: " + bad + ":2: expected: topic NUMBER LEVEL KEYWORD TITLE.");
  std::ofstream(bad, std::ios::binary) << "stray text\n";
  EXPECT_EQ(helpOutput(bad, HELP_FINDER, 0, &result), "\nHelp: " + bad + ":1: text before the first topic.");
  std::ofstream(bad, std::ios::binary) << "title Only\n";
  EXPECT_EQ(helpOutput(bad, HELP_FINDER, 0, &result), "\nHelp: " + bad + ": no topics.");
  EXPECT_EQ(helpOutput(missing, HELP_QUIT, 0, &result), "");
  EXPECT_TRUE(result);
}

}  // namespace
