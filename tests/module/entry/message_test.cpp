// The message catalogue: every number with its exact text, the shared
// buffer, and the numbers the catalogue does not hold.
#include <gtest/gtest.h>

#include <cstring>

#include "ArxUtil.h"
#include "acad/console.h"
#include "message.h"

namespace {

struct Message {
  int number;
  const char* text;
};

const Message kCatalogue[] = {
    {1, "\nSelect objects: "},
    {2, "\nCannot determine length of selection set."},
    {3, "\nNo entity in selection set."},
    {4, "\nError while creating VRML file."},
    {5, "\nCannot determine length of selection set."},
    {6, "\nNo entity in selection set."},
    {7, "\nCannot create output file."},
    {8, "\nCannot get entity from selection set."},
    {9, "\nCannot open entity for reading - %ld."},
    {10, "\nInvalid object type ignored - must be derived from AcDbBody or AcDb3dSolid."},
    {11, "\nCannot create selection set."},
    {12, "\nCannot open face file."},
    {13, "\nCannot convert faces to VRML"},
    {14, "\n%d objects converted."},
    {15, "Create VRML File"},
    {16, "\nInvalid object type."},
    {17, "Cannot open object for writing."},
    {18, "\nError while attaching url data to selected object."},
    {19, "\nError while attaching material data to selected object."},
    {20, "\nSelect object: "},
    {21, "\nMeshcast/AutoCAD loaded.\nUse VRMLHELP for list of commands.\n"},
    {22, "\nUsage: vrml_wrlout selection_set filename\n"},
    {23, "\nUsage: vrml_geturl entity\n"},
    {24, "\nUsage: vrml_getmaterial entity\n"},
    {25, "VRML Properties"},
    {26, "URL Properties"},
    {27, "URL Link:"},
    {28, "Description:"},
    {29, "Material Properties"},
    {30, "Use AutoCAD Color"},
    {31, "Shininess:"},
    {32, "Transparency:"},
    {33, "OK"},
    {34, "Cancel"},
    {36, "\n%d invalid objects ignored."},
    {37, "\nProcessing %d of %d."},
    {38, "Meshcast in progress"},
    {39, "%d object(s) ignored."},
    {40, "%d object(s) converted."},
    {41, "Cancel"},
    {42, "VrmlOut"},
    {43, "VrmlProp"},
    {44, "VrmlAbout"},
    {45, "VrmlHelp"},
    {46, "VrmlOut"},
    {47, "VrmlProp"},
    {48, "VrmlAbout"},
    {49, "VrmlHelp"},
    {50, "Meshcast options"},
    {51, "Drawing units"},
    {52, "&Milimeter"},
    {53, "&Centimeter"},
    {54, "M&eter"},
    {55, "&Inch"},
    {56, "&Other"},
    {57, "UCS Transformation"},
    {58, "Recalculate points to current &UCS"},
    {59, "OK"},
    {60, "Cancel"},
    {61, "VRML version"},
    {62, "VRML 1.0"},
    {63, "VRML 2.0"},
};

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
  acad_console::beginCapture();
  *text = messageText(number);
  return acad_console::endCapture();
}

TEST_F(MessageCatalogue, HoldsEveryTextExactly) {
  for (const Message& message : kCatalogue) {
    const char* text = nullptr;
    EXPECT_EQ(printedBy(message.number, &text), "") << message.number;
    EXPECT_STREQ(text, message.text) << "message " << message.number;
  }
}

TEST_F(MessageCatalogue, HoldsNoOtherNumbers) {
  for (int number = -2; number <= 70000; number += (number < 100 ? 1 : 997)) {
    bool listed = false;
    for (const Message& message : kCatalogue) listed = listed || message.number == number;
    if (listed) continue;
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
