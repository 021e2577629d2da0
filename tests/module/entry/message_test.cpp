// The message catalogue: every number with its exact text, the shared
// buffer, and the numbers the catalogue does not hold.
#include <gtest/gtest.h>

#include "ArxUtil.h"
#include "acad/console.h"
#include "message.h"
#include "support/message_catalogue.h"

namespace {

// The string table is found through the module's handle once the framework
// is attached, as in the loaded module.
char g_moduleStandIn;  // its address serves as the module handle

class MessageCatalogue : public ::testing::Test {
 protected:
  void SetUp() override {
    setModuleHandle(reinterpret_cast<HINSTANCE>(&g_moduleStandIn));
    attachModule();
  }
  void TearDown() override { detachModule(); }
};

std::string printedBy(int number, const char** text) {
  acad::console::beginCapture();
  *text = messageText(number);
  return acad::console::endCapture();
}

TEST_F(MessageCatalogue, HoldsEveryTextExactly) {
  for (const auto& [number, expected] : kMessageCatalogue) {
    const char* text = nullptr;
    EXPECT_EQ(printedBy(number, &text), "") << number;
    EXPECT_EQ(text, expected) << "message " << number;
  }
}

TEST_F(MessageCatalogue, HoldsNoOtherNumbers) {
  for (int number = -2; number <= 70000; number += (number < 100 ? 1 : 997)) {
    if (kMessageCatalogue.count(number)) continue;
    const char* text = nullptr;
    EXPECT_EQ(printedBy(number, &text), "\nError Loading Message: message " + std::to_string(number) + " not found.");
    EXPECT_STREQ(text, "") << number;
  }
}

TEST_F(MessageCatalogue, HandsOutOneBufferThatTheNextLookUpOverwrites) {
  const char* startUp = messageText(21);
  EXPECT_STREQ(startUp, "\nMeshcast/AutoCAD loaded.\nUse VRMLHELP for list of commands.\n");
  const char* prompt = messageText(1);
  EXPECT_EQ(prompt, startUp);
  EXPECT_STREQ(startUp, "\nSelect objects: ");
  // A failed look-up hands out the empty text and leaves the buffer alone.
  const char* missing = nullptr;
  printedBy(99, &missing);
  EXPECT_NE(missing, startUp);
  EXPECT_STREQ(startUp, "\nSelect objects: ");
}

TEST(MessageCatalogueDetached, ReportsEveryNumberMissingWithoutResources) {
  setModuleHandle(nullptr);
  const char* text = nullptr;
  EXPECT_EQ(printedBy(21, &text), "\nError Loading Message: message 21 not found.");
  EXPECT_STREQ(text, "");
}

}  // namespace
