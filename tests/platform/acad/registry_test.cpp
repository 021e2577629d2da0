// The system registry's services and the command stack as a module finds and
// uses them.
#include <gtest/gtest.h>

#include "acad/command_stack.h"
#include "aced.h"
#include "acrx.h"

namespace {

int g_runs = 0;
void countRun() { ++g_runs; }

AcEdCommandStack* stack() { return AcEdCommandStack::cast(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS")); }

TEST(SystemRegistry, HoldsTheServicesUnderTheirNamesWithTheirClasses) {
  AcRxDictionary* classes = AcRxDictionary::cast(acrxSysRegistry()->at("ClassDictionary"));
  ASSERT_NE(classes, nullptr);
  AcRxClass* stackClass = AcRxClass::cast(classes->at("AcEdCommandStack"));
  ASSERT_NE(stackClass, nullptr);
  EXPECT_STREQ(stackClass->name(), "AcEdCommandStack");
  EXPECT_TRUE(stackClass->isDerivedFrom(AcRxObject::desc()));

  AcRxObject* commands = acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS");
  ASSERT_NE(commands, nullptr);
  EXPECT_TRUE(commands->isKindOf(stackClass));
  // The checked cast refuses an object of another class.
  AcRxObject* linker = acrxSysRegistry()->at("DynamicLinker");
  EXPECT_NE(AcRxDynamicLinker::cast(linker), nullptr);
  EXPECT_EQ(AcEdCommandStack::cast(linker), nullptr);
  EXPECT_EQ(AcRxDynamicLinker::cast(commands), nullptr);
  EXPECT_EQ(AcRxDynamicLinker::cast(nullptr), nullptr);
  EXPECT_EQ(acrxSysRegistry()->at("NoSuchService"), nullptr);
  EXPECT_FALSE(AcRxDynamicLinker::cast(linker)->unlockApplication(nullptr));
}

TEST(SystemRegistry, DictionaryReplacesAndRemovesEntries) {
  AcRxDictionary dictionary;
  AcRxDictionary first, second;
  EXPECT_EQ(dictionary.atPut("key", &first), nullptr);
  EXPECT_EQ(dictionary.atPut("key", &second), &first);
  EXPECT_TRUE(dictionary.has("key"));
  EXPECT_EQ(dictionary.at("KEY"), nullptr) << "keys are exact";
  EXPECT_EQ(dictionary.remove("key"), &second);
  EXPECT_FALSE(dictionary.has("key"));
  EXPECT_EQ(dictionary.remove("key"), nullptr);
}

TEST(CommandStack, NamesAreUniqueWithoutRegardToCaseAndGroupsGoTogether) {
  ASSERT_NE(stack(), nullptr);
  EXPECT_EQ(stack()->addCommand("Tests", "alpha", "alpha_local", 0, countRun), Acad::eOk);
  EXPECT_EQ(stack()->addCommand("Tests", "beta", "beta", 0, countRun), Acad::eOk);
  EXPECT_EQ(stack()->addCommand("Others", "ALPHA", "gamma", 0, countRun), Acad::eInvalidInput);
  EXPECT_EQ(stack()->addCommand("Others", "delta", "Alpha_Local", 0, countRun), Acad::eInvalidInput);
  EXPECT_EQ(stack()->addCommand("Others", "delta", "delta", 0, nullptr), Acad::eInvalidInput);
  EXPECT_EQ(stack()->addCommand("Others", "", "delta", 0, countRun), Acad::eInvalidInput);

  const acad::commands::Registered* found = acad::commands::find("_.ALPHA_local");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->globalName, "alpha");
  g_runs = 0;
  acad::commands::run(*found);
  EXPECT_EQ(g_runs, 1);

  EXPECT_EQ(stack()->removeCmd("tests", "BETA"), Acad::eOk);
  EXPECT_EQ(acad::commands::find("beta"), nullptr);
  EXPECT_EQ(stack()->removeCmd("Tests", "beta"), Acad::eKeyNotFound);
  EXPECT_EQ(stack()->removeGroup("TESTS"), Acad::eOk);
  EXPECT_EQ(acad::commands::find("alpha"), nullptr);
  EXPECT_EQ(stack()->removeGroup("Tests"), Acad::eKeyNotFound);
}

}  // namespace
