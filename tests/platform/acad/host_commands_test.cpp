// Host commands run from the command line and through ads_command, with the
// echo that CMDECHO controls, and the system variables behind it.
#include <gtest/gtest.h>

#include "acad/console.h"
#include "acad/host_commands.h"
#include "acadmem.h"
#include "adslib.h"
#include "heap_faults.h"

namespace {

// A command of two prompts that records its answers.
std::vector<std::string> g_answers;
bool twoPrompts(acad::host_commands::Answers& answers) {
  g_answers.clear();
  std::string answer;
  for (const char* prompt : {"\nFirst: ", "\nSecond: "}) {
    if (!answers.next(prompt, answer)) return false;
    g_answers.push_back(answer);
  }
  return true;
}

short commandEcho() {
  resbuf value;
  EXPECT_EQ(ads_getvar("CMDECHO", &value), RTNORM);
  EXPECT_EQ(value.restype, RTSHORT);
  return value.resval.rint;
}

void setCommandEcho(short on) {
  resbuf value{nullptr, RTSHORT, {}};
  value.resval.rint = on;
  ASSERT_EQ(ads_setvar("cmdecho", &value), RTNORM);
}

class HostCommands : public ::testing::Test {
 protected:
  void SetUp() override { acad::host_commands::add("TWOPROMPTS", twoPrompts); }
  void TearDown() override { setCommandEcho(1); }
};

TEST_F(HostCommands, AdsCommandAnswersThePromptsWithItsItemsAndEchoesThemWhenAsked) {
  ads_point corner = {100, 100, 0};
  acad::console::beginCapture();
  EXPECT_EQ(ads_command(RTSTR, "_.twoprompts", RTSTR, "vrml.TB_WRL", RTPOINT, corner, 0), RTNORM);
  std::string echoed = acad::console::endCapture();
  EXPECT_EQ(g_answers, (std::vector<std::string>{"vrml.TB_WRL", "100,100"}));
  EXPECT_EQ(echoed, "\nCommand: _.twoprompts\nFirst: vrml.TB_WRL\nSecond: 100,100");

  setCommandEcho(0);
  acad::console::beginCapture();
  EXPECT_EQ(ads_command(RTSTR, "TwoPrompts", RTSHORT, 1, RTREAL, 2.5, RTNONE), RTNORM);
  EXPECT_EQ(acad::console::endCapture(), "");
  EXPECT_EQ(g_answers, (std::vector<std::string>{"1", "2.5"}));
}

TEST_F(HostCommands, AdsCommandFailsForMissingAnswersUnknownNamesAndBadItems) {
  setCommandEcho(0);
  acad::console::beginCapture();
  EXPECT_EQ(ads_command(RTSTR, "twoprompts", RTSTR, "only one", 0), RTERROR);
  EXPECT_EQ(ads_command(RTSTR, "nosuchcommand", 0), RTERROR);
  EXPECT_EQ(ads_command(RTSTR, "twoprompts", RTENAME, nullptr, 0), RTERROR);
  EXPECT_EQ(ads_command(0), RTERROR);
  EXPECT_EQ(ads_command(RTSTR, "twoprompts", RTPOINT, nullptr, 0), RTERROR);
  EXPECT_EQ(acad::console::endCapture(), "\nUnknown command \"nosuchcommand\".  Press F1 for help.");
}

TEST(SystemVariables, KeepTheirTypeAndRefuseWritesToReadOnlyOnes) {
  EXPECT_EQ(commandEcho(), 1);
  resbuf wrongType{nullptr, RTSTR, {}};
  char text[] = "0";
  wrongType.resval.rstring = text;
  EXPECT_EQ(ads_setvar("CMDECHO", &wrongType), RTERROR);
  EXPECT_EQ(commandEcho(), 1);
  EXPECT_EQ(ads_setvar("ACADVER", &wrongType), RTERROR);
  EXPECT_EQ(ads_setvar("NOSUCHVAR", &wrongType), RTERROR);
  resbuf unknown;
  EXPECT_EQ(ads_getvar("NOSUCHVAR", &unknown), RTERROR);

  auto before = acad::heap::stats().liveBlocks;
  resbuf version;
  ASSERT_EQ(ads_getvar("acadver", &version), RTNORM);
  ASSERT_EQ(version.restype, RTSTR);
  EXPECT_STREQ(version.resval.rstring, "14.0");
  acad_free(version.resval.rstring);
  EXPECT_EQ(acad::heap::stats().liveBlocks, before);
}

TEST(CommandLine, PrintfFormatsIntoTheTranscript) {
  acad::console::beginCapture();
  EXPECT_EQ(ads_printf("\nError Loading Message: message %d not found.", 99), RTNORM);
  EXPECT_EQ(ads_printf("%s", std::string(5000, 'x').c_str()), RTNORM);
  std::string printed = acad::console::endCapture();
  EXPECT_EQ(printed, "\nError Loading Message: message 99 not found." + std::string(5000, 'x'));
  EXPECT_EQ(ads_getappname(), nullptr) << "the host's own code has no module path";
}

}  // namespace
