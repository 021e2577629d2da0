// The about box inside the host: shown from its template, closed with OK,
// and the command line goes on.
#include <gmock/gmock.h>

#include "support/run_host.h"

TEST(AboutCommand, ShowsTheBoxAndReturnsToTheCommandPrompt) {
  std::string module = test_support::binPath("vrml.arx");
  auto run = test_support::runHost("--batch --load '" + module + "'", "VRMLABOUT\nok\nvrmlabout\n");
  const std::string& t = run.output;
  size_t box = t.find("\nCommand: VRMLABOUT\nDialog 129 \"Meshcast\"\n");
  ASSERT_NE(box, std::string::npos) << t;
  EXPECT_NE(t.find("\\nBuild date: 22/09/98\\nVersion: 2.0.1.8264\"", box), std::string::npos) << t;
  EXPECT_NE(t.find("\n> ok\nDialog 129 closed: OK\nCommand: vrmlabout\n", box), std::string::npos) << t;
  // The second box finds the script at its end: it closes as Cancel would.
  EXPECT_THAT(t, testing::HasSubstr("\nDialog 129 closed: Cancel\nCommand: "));
}
