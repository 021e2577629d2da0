// The module's dynamic symbol table offers the host exactly its three entry
// points, and the host refuses arguments it does not take.
#include <gmock/gmock.h>

#include <set>
#include <sstream>

#include "support/run_host.h"

using namespace test_support;

namespace {

TEST(ModuleExports, AreExactlyTheThreeEntryPoints) {
  ProcessResult nm = runCommand("nm -D --defined-only '" + binPath("vrml.arx") + "'");
  ASSERT_EQ(nm.status, 0) << nm.output;
  std::set<std::string> names;
  std::istringstream lines(nm.output);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string address, kind, name;
    fields >> address >> kind >> name;
    if (kind == "A") continue;  // the version script's own marker, not code or data
    names.insert(name);
  }
  EXPECT_EQ(names, (std::set<std::string>{"_SetacrxPtp", "acrxEntryPoint", "acrxGetApiVersion"})) << nm.output;
}

TEST(HostArguments, UnknownOrIncompleteOptionsEndWithUsage) {
  for (const char* arguments : {"--frobnicate", "--load", "a.dxf b.dxf", "--batch --script"}) {
    ProcessResult run = runCommand("'" + binPath("arxhost") + "' " + arguments + " 2>&1 </dev/null");
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_THAT(run.output, testing::HasSubstr("usage: arxhost"));
  }
  ProcessResult missingScript = runCommand("'" + binPath("arxhost") +
                                           "' --batch --script /nonexistent/x.scr 2>&1 </dev/null");
  EXPECT_EQ(missingScript.status, 2);
  EXPECT_EQ(missingScript.output, "arxhost: cannot open script /nonexistent/x.scr\n");
}

}  // namespace
